// Device names of the serial component: "Com1" and "Com2" name an entry of
// that name in the program's folder when one exists (a link to a USB adapter
// or a pseudo-terminal), else the first two on-board ports.
#pragma once

#include <string>

// The folder that holds the running program (from /proc/self/exe).
std::string ExecutableFolder();

// The path to open for a device name.
std::string ResolveSerialDeviceName(const std::string& name, const std::string& programFolder);

// Makes the entry `name` ("Com1" or "Com2") in `programFolder` a symbolic link
// to `device`, replacing the link that is there. Anything else of that name
// is left alone. Returns an empty string, or what went wrong.
std::string LinkSerialDeviceName(const std::string& name, const std::string& programFolder,
                                 const std::string& device);
