// The line book: one folder per line, one settings file per camera named by
// its address ("017.TXT", exactly the bytes File > Save As writes), and an
// index, "line.csv" (CSV as the Write to Several Cameras report: one table,
// a row a camera). A folder that holds a backup already is updated camera by
// camera: a camera read now replaces its own file and row only.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "settings/settings_file_io.h"

class CameraPanel;
struct CameraLinkState;

inline constexpr const char* kLineBookIndexName = "line.csv";
// "Address,Baud rate,PTZ protocol,ID text,File name,When read,Result".
extern const char* const kLineBookHeader;
// A row's result: the camera's file is the one named, read then.
inline constexpr const char* kLineBookSaved = "Saved";
// The camera was silent the first time it was asked for; it has no file.
inline constexpr const char* kLineBookNoAnswer = "No answer";

struct LineBookRow {
  uint8_t address = 0;
  int baud = 0;
  std::string protocol;  // the PTZ protocol's command-line name: "pelco-d"
  std::string id;        // the camera's ID text
  std::string file;      // "017.TXT"; empty for a camera never saved
  std::string whenRead;  // "2026-12-09 14:03:27", local time
  std::string result;
};

// What holds for every camera of one run.
struct LineBookRun {
  int baud = 0;
  std::string protocol;
  std::time_t when = 0;
};

// "017.TXT".
std::string LineBookFileName(uint8_t address);

// The index, rows in address order, each line ending in CR LF.
std::string LineBookIndexText(const std::vector<LineBookRow>& rows);
// The rows of an index's lines; a line that is no row of it (the header, a
// bad address, a short row) is passed over.
std::vector<LineBookRow> ParseLineBookIndex(const std::vector<std::string>& lines);

class LineBook {
 public:
  explicit LineBook(std::string folder) : folder_(std::move(folder)) {}

  // Reads the index; a folder without one is an empty book. `create`: a
  // missing folder is made (backing up), else it is a failure (restoring).
  FileOutcome Load(bool create);
  const std::vector<LineBookRow>& Rows() const { return rows_; }
  // The camera's row, or nullptr.
  const LineBookRow* Find(uint8_t address) const;
  // The full path of a file of the book.
  std::string PathOf(const std::string& file) const;

  // A camera read now: its file replaced, then its row, then the index. On
  // a failure the camera's old file and row stay as they were.
  FileOutcome Save(uint8_t address, const CameraPanel& panel, const CameraLinkState& state,
                   const LineBookRun& run);
  // A silent camera: listed, unless the book holds a file of it from before
  // (that file and its row stay).
  FileOutcome NoAnswer(uint8_t address, const LineBookRun& run);

 private:
  void Put(const LineBookRow& row);
  FileOutcome WriteIndex() const;

  std::string folder_;
  std::vector<LineBookRow> rows_;  // in address order
};
