// What Save As writes: the panel and the two delay codes as the 18 lines of
// the settings text file.
#pragma once

#include <string>

class CameraPanel;
struct CameraLinkState;

// The whole file, every line ended by CR LF. Values are not tested: a list
// without a selection gives -1. The ID text goes out as SavedIdText makes it.
std::string SettingsFileText(const CameraPanel& panel, const CameraLinkState& state);
