#include "cli/settings_load.h"

#include <vector>

#include "cli/result_output.h"
#include "settings/settings_file_io.h"
#include "settings/settings_messages.h"

std::optional<SettingsValues> LoadSettings(const std::string& path) {
  std::vector<std::string> lines;
  const FileOutcome read = ReadFileLines(path, kSettingsFileLines, lines);
  if (!read.ok) {
    Complain(SettingsReadMessage(path, read));
    return std::nullopt;
  }
  SettingsValues values;
  SettingsFileError error;
  if (!CheckSettingsLines(lines, values, error)) {
    Complain(SettingsCheckMessage(error));
    return std::nullopt;
  }
  return values;
}
