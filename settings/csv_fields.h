// The CSV (RFC 4180) the program writes: the Write to Several Cameras report
// and the line book's index share these, so a reader takes both alike.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// Ends every line of a CSV file the program writes.
inline constexpr const char* kCsvLineEnd = "\r\n";

// A field as it goes in a row: bytes that are not UTF-8 become U+FFFD; a
// field with a comma, a quote or a line break goes in quotes, its quotes doubled.
std::string CsvField(const std::string& bytes);

// Local time as spreadsheets read it: "2026-12-09 14:03:27".
std::string CsvLocalTime(std::time_t when);

// The cells of one row as CsvField wrote them (a row without line breaks).
std::vector<std::string> CsvSplitRow(const std::string& line);
