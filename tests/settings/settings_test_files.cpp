#include "settings_test_files.h"

std::vector<std::string> DefaultLines() {
  return {
      "K5 CASE FUNCTION", "D/N MODE&0", "D/N LEVEL&1", "D/N FIL&1",   "SHUTTER&0", "GAIN&0",
      "SYNC&0",           "BLC&0",      "APERTURE&2",  "WHITE BAL&0", "ID.&",      "ID. POS&0",
      "RED&15",           "Blue&15",    "ColToWb&1",   "WbToCol&1",   "GAMMA&1",   "PREDTMSP&0"};
}

std::string Join(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

std::string WithLine(size_t number, const std::string& line) {
  std::vector<std::string> lines = DefaultLines();
  lines.at(number - 1) = line;
  return Join(lines);
}

LoadOutcome Load(const std::string& text, MemoryPanel& panel, CameraLinkState& state) {
  SettingsValues values;
  LoadOutcome outcome{false, {}};
  outcome.ok =
      CheckSettingsLines(SplitSettingsLines(text, kSettingsFileLines), values, outcome.error);
  if (outcome.ok) ApplySettings(values, panel, state);
  return outcome;
}
