// The report of Write to Several Cameras as CSV (RFC 4180), one table that a
// spreadsheet or any CSV reader takes: a row of column names, then one row a
// camera. When, on which port and rate, and from which settings file the
// cameras were written are columns of every row, so no line is anything but
// the table. The window's Save Report and zelta-cli write --report both
// write it.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "link/multi_write.h"

struct MultiWriteReportRun {
  std::time_t started = 0;  // when the write began
  std::string port;         // "Com1", or the device path
  int baud = 0;
  std::string settingsFile;  // the settings file written, named in full
  // Restore Line: each row's own file, in row order, instead of settingsFile.
  std::vector<std::string> rowFiles;
};

// "Address,Result,Time (ms),Written,Port,Baud rate,Settings file".
extern const char* const kMultiWriteReportHeader;

// The whole file, each line ending in CR LF.
std::string MultiWriteReportText(const MultiWriteReportRun& run,
                                 const std::vector<MultiWriteResult>& rows);
