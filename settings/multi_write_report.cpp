#include "settings/multi_write_report.h"

#include "settings/csv_fields.h"

const char* const kMultiWriteReportHeader =
    "Address,Result,Time (ms),Written,Port,Baud rate,Settings file";

std::string MultiWriteReportText(const MultiWriteReportRun& run,
                                 const std::vector<MultiWriteResult>& rows) {
  std::string text = std::string(kMultiWriteReportHeader) + kCsvLineEnd;
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string& file = i < run.rowFiles.size() ? run.rowFiles[i] : run.settingsFile;
    text += std::to_string(rows[i].address) + "," + CsvField(rows[i].text) + "," +
            std::to_string(rows[i].ms) + "," + CsvField(CsvLocalTime(run.started)) + "," +
            CsvField(run.port) + "," + std::to_string(run.baud) + "," + CsvField(file) +
            kCsvLineEnd;
  }
  return text;
}
