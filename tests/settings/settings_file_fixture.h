// Settings files for tests of any layer, built from the item table: a new
// item's line joins them by itself. Only the two tests that pin the format
// spell its bytes out.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/camera_items.h"
#include "settings/settings_lines.h"

// The file's lines without line ends: the header, then each item's key and
// value, the value from `values` (by item code) or else the item's start-up
// value (the ID empty).
inline std::vector<std::string> SettingsFileLines(
    const std::map<uint8_t, std::string>& values = {}) {
  std::vector<std::string> lines{kSettingsHeader};
  for (const SettingsLine& line : SettingsLines()) {
    const CameraItem& item = *FindCameraItem(line.item);
    const auto given = values.find(line.item);
    std::string value = item.kind == ItemKind::IdText ? "" : std::to_string(item.defaultValue);
    if (given != values.end()) value = given->second;
    lines.push_back(std::string(line.key) + "&" + value);
  }
  return lines;
}

// The names of the panel items after `item` in transfer order, as Write to
// Several Cameras lists what it did not write: each within `quote`, joined by
// `separator`.
inline std::string ItemsAfter(uint8_t item, const std::string& separator,
                              const std::string& quote = "") {
  std::string text;
  bool after = false;
  for (const uint8_t next : kTransferOrder) {
    if (after)
      text +=
          (text.empty() ? "" : separator) + quote + TransferStepName(*FindCameraItem(next)) + quote;
    after = after || next == item;
  }
  return text;
}

// The same lines, each ended by CR LF as Save As ends them.
inline std::string SettingsFileFrom(const std::map<uint8_t, std::string>& values = {}) {
  std::string text;
  for (const std::string& line : SettingsFileLines(values)) text += line + kSettingsLineEnd;
  return text;
}
