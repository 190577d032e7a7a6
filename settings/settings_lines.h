// The settings text file: a fixed first line, then one line per camera item
// (in the items' file order) of key, "&" and value, each line ended by CR LF. A line is known by
// its place only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/panel_controls.h"

extern const char* const kSettingsHeader;   // "K5 CASE FUNCTION"
extern const char* const kSettingsLineEnd;  // CR LF

constexpr size_t kSettingsValueLines = kCameraItemCount;
constexpr size_t kSettingsFileLines = kSettingsValueLines + 1;

struct SettingsLine {
  uint8_t item;     // item code of the camera setting the line holds
  const char* key;  // key written before the "&"
  int limit;        // Open refuses this value and any above (not used for the ID line)
};

// The value lines (the file's second line on) in file order.
const std::array<SettingsLine, kSettingsValueLines>& SettingsLines();
