#include "settings_test_files.h"

#include "settings_file_fixture.h"

std::vector<std::string> DefaultLines() {
  return SettingsFileLines();
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
