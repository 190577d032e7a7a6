// A CSV file as Python's csv module reads it (strictly, as UTF-8): the rows
// of cells, or a failure of the test when it cannot.
#pragma once

#include <string>
#include <vector>

std::vector<std::vector<std::string>> CsvTable(const std::string& path);
