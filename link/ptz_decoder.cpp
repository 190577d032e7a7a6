#include "link/ptz_decoder.h"

#include <cstring>

namespace {

// Pelco P data 1 / Pelco D command 1: iris open; data 2 / command 2: movement
// bits, or with bit 0 set an extended command (preset number in the last data byte).
constexpr uint8_t kPelcoPIrisOpen = 0x04;
constexpr uint8_t kPelcoDIrisOpen = 0x02;
constexpr uint8_t kPanRight = 0x02;
constexpr uint8_t kPanLeft = 0x04;
constexpr uint8_t kTiltUp = 0x08;
constexpr uint8_t kTiltDown = 0x10;
constexpr uint8_t kExtSetPreset = 0x03;
constexpr uint8_t kExtGotoPreset = 0x07;

void DecodePelco(uint8_t irisByte, uint8_t irisBit, uint8_t moveByte, uint8_t preset,
                 PtzDecoded& out) {
  out.accepted = true;
  if ((moveByte & 0x01) != 0) {
    if (moveByte == kExtSetPreset || moveByte == kExtGotoPreset) {
      out.action = moveByte == kExtSetPreset ? PtzAction::SetPreset : PtzAction::GotoPreset;
      out.preset = preset;
    }
    return;
  }
  if ((irisByte & irisBit) != 0) {
    out.action = PtzAction::Select;
  } else if ((moveByte & kTiltUp) != 0) {
    out.action = PtzAction::Up;
  } else if ((moveByte & kTiltDown) != 0) {
    out.action = PtzAction::Down;
  } else if ((moveByte & kPanLeft) != 0) {
    out.action = PtzAction::Left;
  } else if ((moveByte & kPanRight) != 0) {
    out.action = PtzAction::Right;
  } else if (irisByte == 0 && moveByte == 0) {
    out.action = PtzAction::Stop;
  }
}

// ERNITEC frames are known by the bytes of the templates the tool sends.
void DecodeErnitec(const uint8_t* frame, PtzDecoded& out) {
  out.accepted = true;
  if (frame[2] == 0x02) {
    out.action = PtzAction::GotoPreset;
    out.preset = frame[3];
    return;
  }
  if (frame[2] != 0x01) return;
  for (const PtzCommand command :
       {PtzCommand::Up, PtzCommand::Down, PtzCommand::Stop, PtzCommand::Select}) {
    const uint8_t* pattern = PtzTemplate(PtzProtocol::Ernitec, command);
    if (std::memcmp(pattern + 2, frame + 2, 3) != 0) continue;
    switch (command) {
      case PtzCommand::Up:
        out.action = PtzAction::Up;
        break;
      case PtzCommand::Down:
        out.action = PtzAction::Down;
        break;
      case PtzCommand::Stop:
        out.action = PtzAction::Stop;
        break;
      default:
        out.action = PtzAction::Select;
        break;
    }
    return;
  }
}

}  // namespace

const char* PtzProtocolName(PtzProtocol protocol) {
  switch (protocol) {
    case PtzProtocol::PelcoP:
      return "PELCO P";
    case PtzProtocol::PelcoD:
      return "PELCO D";
    case PtzProtocol::Ernitec:
      return "ERNITEC";
  }
  return "?";
}

std::string PtzActionName(const PtzDecoded& decoded) {
  switch (decoded.action) {
    case PtzAction::Stop:
      return "Stop";
    case PtzAction::Up:
      return "Up";
    case PtzAction::Down:
      return "Down";
    case PtzAction::Left:
      return "Left";
    case PtzAction::Right:
      return "Right";
    case PtzAction::Select:
      return "Select";
    case PtzAction::SetPreset:
      return "set preset " + std::to_string(decoded.preset);
    case PtzAction::GotoPreset:
      return "go to preset " + std::to_string(decoded.preset);
    case PtzAction::Other:
      break;
  }
  return "other command";
}

PtzDecoded DecodePtzFrame(PtzProtocol protocol, const uint8_t* frame, size_t length) {
  PtzDecoded out;
  if (length < 3 || frame[0] != PtzStartByte(protocol) ||
      length != PtzFrameLength(protocol, frame, length)) {
    out.reason = "wrong length";
    return out;
  }
  if (protocol == PtzProtocol::PelcoP && frame[6] != 0xAF) {
    out.reason = "no end byte";
    return out;
  }
  // The checksum is computed by the same rule the tool uses, on a copy whose
  // checksum byte starts at zero (the additive sums build on it).
  uint8_t copy[kPtzFrameSize] = {};
  std::memcpy(copy, frame, length);
  copy[length - 1] = 0;
  PtzChecksum(copy, protocol);
  if (copy[length - 1] != frame[length - 1]) {
    out.reason = "bad checksum";
    return out;
  }
  out.address = PtzAddressOfByte(protocol, frame[1]);
  switch (protocol) {
    case PtzProtocol::PelcoP:
      DecodePelco(frame[2], kPelcoPIrisOpen, frame[3], frame[5], out);
      break;
    case PtzProtocol::PelcoD:
      DecodePelco(frame[2], kPelcoDIrisOpen, frame[3], frame[5], out);
      break;
    case PtzProtocol::Ernitec:
      DecodeErnitec(frame, out);
      break;
  }
  return out;
}

PtzDecoded DecodePtzFrame(PtzProtocol protocol, const uint8_t* frame, size_t length,
                          uint8_t cameraAddress) {
  PtzDecoded out = DecodePtzFrame(protocol, frame, length);
  if (out.accepted && out.address != cameraAddress) {
    out = PtzDecoded();
    out.reason = "address byte " + std::to_string(frame[1]);
  }
  return out;
}
