#include "settings/multi_write_report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "csv_table.h"
#include "link/camera_link_state.h"
#include "link/memory_panel.h"
#include "settings/line_book.h"
#include "settings/settings_file_io.h"
#include "settings/settings_writer.h"

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

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LineBook, ACameraReadNowReplacesItsOwnFileAndRowOnly) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const std::string folder = "/tmp/zelta-book-test-" + std::to_string(::getpid());
  CameraLinkState state{};
  MemoryPanel lobby;
  lobby.SetIdEditText("LOBBY, \"EAST\"");
  lobby.SetItemIndex(PanelControl::ShutterSel, 3);
  MemoryPanel park = lobby;
  park.SetIdEditText("CAR PARK");
  {
    LineBook book(folder);
    ASSERT_TRUE(book.Load(true).ok);
    ASSERT_TRUE(book.Save(17, lobby, state, {9600, "Pelco D", 1796818980}).ok);
    ASSERT_TRUE(book.NoAnswer(18, {9600, "Pelco D", 1796818980}).ok);
    ASSERT_TRUE(book.Save(3, park, state, {4800, "ERNITEC", 1796818980}).ok);
  }
  // A later run: 17 silent now keeps its file; 18 answers; 3 is not asked.
  LineBook book(folder);
  ASSERT_TRUE(book.Load(false).ok);
  ASSERT_EQ(book.Rows().size(), 3u);
  EXPECT_EQ(book.Find(17)->id, "LOBBY, \"EAST\"");
  ASSERT_TRUE(book.NoAnswer(17, {9600, "Pelco P", 1796819040}).ok);
  ASSERT_TRUE(book.Save(18, park, state, {9600, "Pelco P", 1796819040}).ok);

  EXPECT_EQ(FileText(book.PathOf("017.TXT")), SettingsFileText(lobby, state));
  EXPECT_EQ(FileText(book.PathOf("018.TXT")), SettingsFileText(park, state));
  const Table expected = {
      {"Address", "Baud rate", "PTZ protocol", "ID text", "File name", "When read", "Result"},
      {"3", "4800", "ERNITEC", "CAR PARK", "003.TXT", "2026-12-09 12:23:00", "Saved"},
      {"17", "9600", "Pelco D", "LOBBY, \"EAST\"", "017.TXT", "2026-12-09 12:23:00", "Saved"},
      {"18", "9600", "Pelco P", "CAR PARK", "018.TXT", "2026-12-09 12:24:00", "Saved"}};
  EXPECT_EQ(CsvTable(book.PathOf(kLineBookIndexName)), expected);
  for (const char* name : {"003.TXT", "017.TXT", "018.TXT", kLineBookIndexName}) {
    std::remove(book.PathOf(name).c_str());
  }
  ::rmdir(folder.c_str());
}

TEST(LineBook, AnIndexNamesNoFileOutsideItsFolder) {
  const std::vector<LineBookRow> rows = ParseLineBookIndex(
      {kLineBookHeader, "5,9600,Pelco D,X,../../etc/passwd,,Saved",
       "6,9600,Pelco D,X,006.TXT,,Saved", "300,9600,Pelco D,X,,,No answer", "7,9600"});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].address, 6);
}

}  // namespace
