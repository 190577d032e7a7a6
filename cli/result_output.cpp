#include "cli/result_output.h"

#include <cstdio>

void PrintResult(bool json, const std::string& text, const Json& document) {
  const std::string out = (json ? document.dump() : text) + "\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "zelta-cli: %s\n", text.c_str());
}
