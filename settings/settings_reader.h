// What Open reads: the lines of a settings text file, checked whole before
// anything is applied, so that a bad file leaves the panel as it was.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/settings_lines.h"

class CameraPanel;
struct CameraLinkState;

// Splits text into lines at CR LF, LF or CR, keeping at most maxLines lines.
// A line end after the last line adds no empty line.
std::vector<std::string> SplitSettingsLines(const std::string& text, size_t maxLines);

// The values of lines 2 to 18, in file order, of a file that passed every check.
struct SettingsValues {
  std::array<int, kSettingsValueLines> numbers{};  // the ID line's entry is unused
  std::string id;
  // How many value lines the file held: fewer for a file of an older format,
  // whose missing items are left as they are.
  size_t lines = kSettingsValueLines;
};

struct SettingsFileError {
  enum class Kind {
    Format,  // no "&", a value at or above the limit, a negative gain or delay, a bad ID character
    NotInteger,  // a value that is not a plain decimal integer
  };
  Kind kind = Kind::Format;
  int line = 0;       // 1-based line number in the file
  std::string value;  // the text that is not an integer
};

// Checks lines 2 to 18 in order (lines[0] is line 1, not looked at; a missing
// line reads as empty, unless the file ends where an older format ended). Fills `values` and
// returns true when all pass; otherwise describes the first bad line in `error`.
// `formats`: the value-line counts a whole file may have (tests name older
// formats that do not exist yet).
bool CheckSettingsLines(const std::vector<std::string>& lines, SettingsValues& values,
                        SettingsFileError& error,
                        const std::vector<size_t>& formats = {kSettingsFormats.begin(),
                                                              kSettingsFormats.end()});

// Puts checked values into the panel and the record: list positions, SHUTTER 9
// shown as "IRIS", the gain controls following WHITE BAL, gains with their
// number boxes, the ID text, the two delay codes.
void ApplySettings(const SettingsValues& values, CameraPanel& panel, CameraLinkState& state);
