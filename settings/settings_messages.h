// What Open says about a settings file it refuses, in the window's message
// boxes and on zelta-cli's stderr alike.
#pragma once

#include <string>

#include "settings/settings_file_io.h"
#include "settings/settings_reader.h"

extern const char* const kSettingsFormatMessage;  // "File format is error."

// The message of a file whose lines failed the checks.
std::string SettingsCheckMessage(const SettingsFileError& error);
// The message of a file that could not be read at all.
std::string SettingsReadMessage(const std::string& path, const FileOutcome& outcome);
