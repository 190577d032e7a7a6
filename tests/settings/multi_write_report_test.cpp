#include "settings/multi_write_report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "csv_table.h"

namespace {

using Table = std::vector<std::vector<std::string>>;

TEST(MultiWriteReport, IsOneTableACsvReaderTakesWhateverTheFileIsCalled) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  MultiWriteReportRun run;
  run.started = 1796818980;  // 2026-12-09 12:23:00 UTC
  run.port = "Com1";
  run.baud = 9600;
  // A comma, quotes, CR LF, a lone LF and a byte that is no UTF-8.
  run.settingsFile = "site 7, \"east\"\r\nlobby\n\xFF.TXT";
  const auto row = [](uint8_t address, const char* text, int64_t ms) {
    MultiWriteResult result;
    result.address = address;
    result.text = text;
    result.ms = ms;
    return result;
  };
  const std::vector<MultiWriteResult> rows = {row(3, kMultiWriteOk, 812),
                                              row(4, "Differs: SHUTTER, ID.", 1630),
                                              row(5, kMultiWriteNoAnswer, 0)};
  const std::string path = "/tmp/zelta-report-test-" + std::to_string(::getpid()) + ".csv";
  std::ofstream(path, std::ios::binary) << MultiWriteReportText(run, rows);
  const Table table = CsvTable(path);
  std::remove(path.c_str());

  const std::vector<std::string> runCells = {"2026-12-09 12:23:00", "Com1", "9600",
                                             "site 7, \"east\"\r\nlobby\n\xEF\xBF\xBD.TXT"};
  Table expected = {
      {"Address", "Result", "Time (ms)", "Written", "Port", "Baud rate", "Settings file"},
      {"3", "OK", "812"},
      {"4", "Differs: SHUTTER, ID.", "1630"},
      {"5", "No answer", "0"}};
  for (size_t i = 1; i < expected.size(); ++i) {
    expected[i].insert(expected[i].end(), runCells.begin(), runCells.end());
  }
  EXPECT_EQ(table, expected);
}

}  // namespace
