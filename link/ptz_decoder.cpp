#include "link/ptz_decoder.h"

#include <cstring>

namespace {

// What each command of the tool means to the camera's menu.
struct CommandMeaning {
  PtzAction action;
  uint8_t preset;
};
constexpr CommandMeaning kMeanings[kPtzCommandCount] = {
    {PtzAction::Up, 0},          {PtzAction::Down, 0},       {PtzAction::Stop, 0},
    {PtzAction::Select, 0},      {PtzAction::SetPreset, 95}, {PtzAction::GotoPreset, 88},
    {PtzAction::GotoPreset, 89},
};

}  // namespace

const char* PtzProtocolName(PtzProtocol protocol) {
  return PtzProtocolOf(protocol).displayName;
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

void DecodeByTemplates(PtzProtocol protocol, const uint8_t* frame, size_t length, PtzDecoded& out) {
  if (length < 4) return;
  for (size_t c = 0; c < kPtzCommandCount; ++c) {
    const auto command = static_cast<PtzCommand>(c);
    const uint8_t* pattern = PtzTemplate(protocol, command);
    if (PtzFrameLength(protocol, pattern, PtzTemplateLength(protocol)) != length) continue;
    if (std::memcmp(pattern + 2, frame + 2, length - 3) != 0) continue;
    out.action = kMeanings[c].action;
    out.preset = kMeanings[c].preset;
    return;
  }
}

PtzDecoded DecodePtzFrame(PtzProtocol protocol, const uint8_t* frame, size_t length) {
  PtzDecoded out;
  if (!IsPtzProtocol(protocol) || length < 3 || length > kPtzFrameSize ||
      frame[0] != PtzStartByte(protocol) || length != PtzFrameLength(protocol, frame, length)) {
    out.reason = "wrong length";
    return out;
  }
  const PtzProtocolRow& row = PtzProtocolOf(protocol);
  if (row.formFault != nullptr) {
    if (const char* fault = row.formFault(frame)) {
      out.reason = fault;
      return out;
    }
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
  out.accepted = true;
  out.address = PtzAddressOfByte(protocol, frame[1]);
  if (row.decode != nullptr) {
    row.decode(frame, out);
  } else {
    DecodeByTemplates(protocol, frame, length, out);
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

bool DecodeAnyPtzFrame(const uint8_t* frame, size_t length, PtzProtocol& protocol,
                       PtzDecoded& decoded) {
  if (length == 0) return false;
  bool found = false;
  for (size_t code = 0; code < PtzProtocolCount(); ++code) {
    const PtzProtocol candidate = PtzProtocolAt(code);
    if (frame[0] != PtzStartByte(candidate)) continue;
    PtzDecoded attempt = DecodePtzFrame(candidate, frame, length);
    if (!found || attempt.accepted) {
      protocol = candidate;
      decoded = std::move(attempt);
      found = true;
    }
    if (decoded.accepted) break;
  }
  return found;
}
