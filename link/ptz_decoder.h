// Reads a PTZ frame: checks its form and checksum, and says which camera it
// addresses and which command it carries. The simulated camera and the line
// monitor read frames the same way.
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

struct PtzDecoded {
  bool accepted = false;
  std::string reason;  // why it was dropped
  PtzAction action = PtzAction::Other;
  uint8_t preset = 0;
  int address = 0;  // the camera the address byte names (0..256 by the protocol's rule)
};

// A frame of `protocol` for whichever camera it addresses.
PtzDecoded DecodePtzFrame(PtzProtocol protocol, const uint8_t* frame, size_t length);
// A frame as the camera at `cameraAddress` reads it: another address is dropped.
PtzDecoded DecodePtzFrame(PtzProtocol protocol, const uint8_t* frame, size_t length,
                          uint8_t cameraAddress);

// The frame of whichever protocol whose start byte it has and whose form
// and checksum hold; where none holds, the first such protocol's reason.
// False when no protocol starts with its first byte.
bool DecodeAnyPtzFrame(const uint8_t* frame, size_t length, PtzProtocol& protocol,
                       PtzDecoded& decoded);

// The command of a frame that matches one of the protocol's templates in the
// bytes between the address and the checksum (`length` is the frame's).
void DecodeByTemplates(PtzProtocol protocol, const uint8_t* frame, size_t length, PtzDecoded& out);

// "PELCO P", "PELCO D", "ERNITEC".
const char* PtzProtocolName(PtzProtocol protocol);
// "Up", "Select", "set preset 95", ...
std::string PtzActionName(const PtzDecoded& decoded);
