// Device names of the serial component: "Com1" and "Com2" name an entry of
// that name in the program's folder when one exists (a link to a USB adapter
// or a pseudo-terminal), else the first two on-board ports.
#pragma once

#include <string>

// The folder that holds the running program (from /proc/self/exe).
std::string ExecutableFolder();

// The path to open for a device name.
std::string ResolveSerialDeviceName(const std::string& name, const std::string& programFolder);
