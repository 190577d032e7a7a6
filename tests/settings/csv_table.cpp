#include "csv_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

std::vector<std::vector<std::string>> CsvTable(const std::string& path) {
  const std::string command =
      "python3 -c 'import csv, json, sys\n"
      "with open(sys.argv[1], newline=\"\", encoding=\"utf-8\") as f:\n"
      "    print(json.dumps(list(csv.reader(f, strict=True))))' '" +
      path + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "python3 did not start";
    return {};
  }
  std::string out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  if (::pclose(pipe) != 0) {
    ADD_FAILURE() << "Python's csv module refused " << path;
    return {};
  }
  return nlohmann::json::parse(out).get<std::vector<std::vector<std::string>>>();
}
