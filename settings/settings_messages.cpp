#include "settings/settings_messages.h"

namespace {

// A value longer than this is cut short in the conversion message.
constexpr size_t kShownValueLength = 60;

}  // namespace

const char* const kSettingsFormatMessage = "File format is error.";

std::string SettingsCheckMessage(const SettingsFileError& error) {
  if (error.kind != SettingsFileError::Kind::NotInteger) return kSettingsFormatMessage;
  std::string value = error.value;
  if (value.size() > kShownValueLength) value = value.substr(0, kShownValueLength) + "...";
  return "'" + value + "' is not a valid integer value";
}

std::string SettingsReadMessage(const std::string& path, const FileOutcome& outcome) {
  if (outcome.badFormat) return kSettingsFormatMessage;
  return "Can not read the file \"" + path + "\".\n" + outcome.reason;
}
