// Reads a PTZ frame of the camera's own protocol: checks its form, checksum
// and address byte, and says which command it carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/ptz_frames.h"

enum class PtzAction : uint8_t {
  Stop,
  Up,
  Down,
  Left,
  Right,
  Select,
  SetPreset,
  GotoPreset,
  Other
};

struct TPtzDecoded {
  bool accepted = false;
  std::string reason;  // why it was dropped
  PtzAction action = PtzAction::Other;
  uint8_t preset = 0;
};

TPtzDecoded DecodePtzFrame(PtzProtocol protocol, const uint8_t* frame, size_t length,
                           uint8_t cameraAddress);

// "PELCO P", "PELCO D", "ERNITEC".
const char* PtzProtocolName(PtzProtocol protocol);
// "Up", "Select", "set preset 95", ...
std::string PtzActionName(const TPtzDecoded& decoded);
