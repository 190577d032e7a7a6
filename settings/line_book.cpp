#include "settings/line_book.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/camera_panel.h"
#include "settings/csv_fields.h"
#include "settings/settings_writer.h"

const char* const kLineBookHeader =
    "Address,Baud rate,PTZ protocol,ID text,File name,When read,Result";

namespace {

constexpr size_t kColumns = 7;
// The header and a row for every address.
constexpr size_t kMaxIndexLines = 1 + 256;

// A plain decimal number within [0, limit], or -1.
long Number(const std::string& text, long limit) {
  if (text.empty() || text.size() > 9) return -1;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value <= limit ? value : -1;
}

FileOutcome Failed(const std::string& what, int error) {
  return {false, what + ": " + std::strerror(error)};
}

}  // namespace

std::string LineBookFileName(uint8_t address) {
  char name[16];
  std::snprintf(name, sizeof name, "%03u.TXT", static_cast<unsigned>(address));
  return name;
}

std::string LineBookIndexText(const std::vector<LineBookRow>& rows) {
  std::string text = std::string(kLineBookHeader) + kCsvLineEnd;
  for (const LineBookRow& row : rows) {
    text += std::to_string(row.address) + "," + std::to_string(row.baud) + "," +
            CsvField(row.protocol) + "," + CsvField(row.id) + "," + CsvField(row.file) + "," +
            CsvField(row.whenRead) + "," + CsvField(row.result) + kCsvLineEnd;
  }
  return text;
}

std::vector<LineBookRow> ParseLineBookIndex(const std::vector<std::string>& lines) {
  std::vector<LineBookRow> rows;
  for (const std::string& line : lines) {
    const std::vector<std::string> cells = CsvSplitRow(line);
    if (cells.size() != kColumns) continue;
    const long address = Number(cells[0], 255);
    const long baud = Number(cells[1], 10000000);
    if (address < 0 || baud < 0) continue;
    // Only a name the book gives its own files: never a path out of the folder.
    if (!cells[4].empty() && cells[4] != LineBookFileName(static_cast<uint8_t>(address))) continue;
    LineBookRow row{static_cast<uint8_t>(address),
                    static_cast<int>(baud),
                    cells[2],
                    cells[3],
                    cells[4],
                    cells[5],
                    cells[6]};
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](const LineBookRow& r) { return r.address == row.address; }),
               rows.end());
    rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end(),
            [](const LineBookRow& a, const LineBookRow& b) { return a.address < b.address; });
  return rows;
}

FileOutcome LineBook::Load(bool create) {
  rows_.clear();
  struct stat info {};
  if (::stat(folder_.c_str(), &info) != 0) {
    if (errno != ENOENT || !create) return Failed(folder_, errno);
    if (::mkdir(folder_.c_str(), 0777) != 0) return Failed(folder_, errno);
    return {};
  }
  if (!S_ISDIR(info.st_mode)) return Failed(folder_, ENOTDIR);
  const std::string index = PathOf(kLineBookIndexName);
  if (::lstat(index.c_str(), &info) != 0) {
    if (errno == ENOENT) return {};
    return Failed(index, errno);
  }
  std::vector<std::string> lines;
  FileOutcome read = ReadFileLines(index, kMaxIndexLines, lines);
  if (!read.ok) {
    if (read.reason.empty()) read.reason = index + ": not an index of a line";
    return read;
  }
  rows_ = ParseLineBookIndex(lines);
  return {};
}

const LineBookRow* LineBook::Find(uint8_t address) const {
  for (const LineBookRow& row : rows_) {
    if (row.address == address) return &row;
  }
  return nullptr;
}

std::string LineBook::PathOf(const std::string& file) const {
  return folder_.empty() || folder_.back() == '/' ? folder_ + file : folder_ + "/" + file;
}

FileOutcome LineBook::Save(uint8_t address, const CameraPanel& panel, const CameraLinkState& state,
                           const LineBookRun& run) {
  const std::string file = LineBookFileName(address);
  const FileOutcome saved = ReplaceFile(PathOf(file), SettingsFileText(panel, state));
  if (!saved.ok) return saved;
  Put({address, run.baud, run.protocol, panel.IdEditText(), file, CsvLocalTime(run.when),
       kLineBookSaved});
  return WriteIndex();
}

FileOutcome LineBook::NoAnswer(uint8_t address, const LineBookRun& run) {
  if (const LineBookRow* before = Find(address); before && !before->file.empty()) return {};
  Put({address, run.baud, run.protocol, "", "", CsvLocalTime(run.when), kLineBookNoAnswer});
  return WriteIndex();
}

void LineBook::Put(const LineBookRow& row) {
  const auto at =
      std::lower_bound(rows_.begin(), rows_.end(), row.address,
                       [](const LineBookRow& r, uint8_t address) { return r.address < address; });
  if (at != rows_.end() && at->address == row.address) {
    *at = row;
  } else {
    rows_.insert(at, row);
  }
}

FileOutcome LineBook::WriteIndex() const {
  return ReplaceFile(PathOf(kLineBookIndexName), LineBookIndexText(rows_));
}
