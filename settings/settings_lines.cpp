#include "settings/settings_lines.h"

#include "link/camera_items.h"

const char* const kSettingsHeader = "K5 CASE FUNCTION";
const char* const kSettingsLineEnd = "\r\n";

namespace {

// A list line holds a list position; SHUTTER may also hold 9 ("IRIS"), the
// last entry of the alternative list. Gains hold 0..63; the ID line has no bound.
int Limit(const CameraItem& item) {
  switch (item.kind) {
    case ItemKind::Gain:
      return kGainMax + 1;
    case ItemKind::IdText:
      return 0;
    case ItemKind::List:
    case ItemKind::Delay:
      break;
  }
  const PanelControl widest = item.code == kItemShutter ? PanelControl::ShutterIris : item.control;
  return static_cast<int>(ListEntries(widest).size());
}

}  // namespace

const std::array<SettingsLine, kSettingsValueLines>& SettingsLines() {
  static const std::array<SettingsLine, kSettingsValueLines> lines = [] {
    std::array<SettingsLine, kSettingsValueLines> byLine{};
    for (const CameraItem& item : CameraItems()) {
      byLine.at(item.fileLine) = {item.code, item.fileKey ? item.fileKey : item.label, Limit(item)};
    }
    return byLine;
  }();
  return lines;
}

bool IsFileIdChar(char c) {
  if (c >= 'a' && c <= 'z') return IsIdChar(static_cast<char>(c - 'a' + 'A'));
  return IsIdChar(c);
}

std::string SavedIdText(std::string text) {
  for (char& c : text) {
    if (!IsFileIdChar(c)) c = ' ';
  }
  return text;
}
