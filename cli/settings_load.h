// A settings file loaded as the window's Open loads it, for write, restore
// and diff.
#pragma once

#include <optional>
#include <string>

#include "settings/settings_reader.h"

// All or nothing; nullopt after saying why, in Open's messages.
std::optional<SettingsValues> LoadSettings(const std::string& path);
