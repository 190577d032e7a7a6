// The settings text file: a fixed first line, then one line per camera item
// (in the items' file order) of key, "&" and value, each line ended by CR LF. A line is known by
// its place only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/panel_controls.h"

extern const char* const kSettingsHeader;   // "K5 CASE FUNCTION"
extern const char* const kSettingsLineEnd;  // CR LF

constexpr size_t kSettingsValueLines = kCameraItemCount;
constexpr size_t kSettingsFileLines = kSettingsValueLines + 1;

// The value lines of each format the file has had, oldest first; the last is
// today's. A new item takes the next line at the file's end, and its count
// joins this list, so that a file saved before it still opens: a file that
// ends exactly where an older format ended is whole, and the items it lacks
// keep what the panel (and the record) hold.
constexpr std::array<size_t, 1> kSettingsFormats = {17};
static_assert(kSettingsFormats.back() == kSettingsValueLines,
              "a new settings file line needs its format in kSettingsFormats");

struct SettingsLine {
  uint8_t item;     // item code of the camera setting the line holds
  const char* key;  // key written before the "&"
  int limit;        // Open refuses this value and any above (not used for the ID line)
};

// The value lines (the file's second line on) in file order.
const std::array<SettingsLine, kSettingsValueLines>& SettingsLines();

// A character the ID line may hold: the ID character set, and small letters
// where their capitals are (a file may hold them, though typing turns them
// into capitals).
bool IsFileIdChar(char c);
// The ID text as the ID line holds it. A camera's ID memory may hold any byte
// (0xFF where it was never set, control codes, "&"); each byte outside the
// set is saved as a blank, so that every saved file opens again. An ID of
// the set's characters stays as it is.
std::string SavedIdText(std::string text);
