#include "cli/result_output.h"

#include <cstdio>

#include "cli/port_problem.h"

void PrintResult(bool json, const std::string& text, const Json& document) {
  const std::string out = (json ? document.dump() : text) + "\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "zelta-cli: %s\n", text.c_str());
}

Json LineLostJson(const LineLoss* loss) {
  Json json = Json::object();
  if (loss) {
    json["address"] = loss->address;
    json["baud"] = loss->baud;
  }
  json["message"] = LineLostProblem(loss);
  return json;
}
