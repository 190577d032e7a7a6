#include "settings/multi_write_report.h"

#include "settings/csv_fields.h"

const char* const kMultiWriteReportHeader =
    "Address,Result,Time (ms),Written,Port,Baud rate,Settings file";

std::string MultiWriteReportText(const MultiWriteReportRun& run,
                                 const std::vector<MultiWriteResult>& rows) {
  // The same for every row.
  const std::string runFields = "," + CsvField(CsvLocalTime(run.started)) + "," +
                                CsvField(run.port) + "," + std::to_string(run.baud) + "," +
                                CsvField(run.settingsFile);
  std::string text = std::string(kMultiWriteReportHeader) + kCsvLineEnd;
  for (const MultiWriteResult& row : rows) {
    text += std::to_string(row.address) + "," + CsvField(row.text) + "," + std::to_string(row.ms) +
            runFields + kCsvLineEnd;
  }
  return text;
}
