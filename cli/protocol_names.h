// The PTZ protocols by the names the command line and its results use.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// "pelco-p", "pelco-d", "ernitec" by protocol code.
const std::map<std::string, uint8_t>& ProtocolCodes();
// The name of a protocol code; "unknown" for a code without one.
std::string ProtocolName(uint8_t code);
