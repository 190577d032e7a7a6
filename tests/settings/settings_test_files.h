// Settings files for the tests, built from the start-up file line by line.
#pragma once

#include <string>
#include <vector>

#include "panel_snapshot.h"
#include "settings/settings_reader.h"

// The lines Save As writes right after start-up, without line ends.
std::vector<std::string> DefaultLines();
// Lines joined, each ended by `end`.
std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n");
// The start-up file with line `number` (1-based) replaced.
std::string WithLine(size_t number, const std::string& line);

struct LoadOutcome {
  bool ok;
  SettingsFileError error;
};
// What Open does with the file's text: check everything, then apply.
LoadOutcome Load(const std::string& text, MemoryPanel& panel, CameraLinkState& state);
