// What Save As writes: the panel and the two delay codes as the 18 lines of
// the settings text file.
#pragma once

#include <string>

class CameraPanel;
struct CameraLinkState;

// The whole file, every line ended by CR LF. Nothing is tested or corrected:
// a list without a selection gives -1, the ID text goes out as it is.
std::string SettingsFileText(const CameraPanel& panel, const CameraLinkState& state);
