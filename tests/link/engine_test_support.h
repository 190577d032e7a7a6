// Small helpers shared by the engine's test files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/camera_frames.h"
#include "tests/link/support/link_rig.h"

using Bytes = std::vector<uint8_t>;

inline Bytes PollBytes(uint8_t address, uint8_t protocol) {
  uint8_t f[kFrameSize];
  BuildPollFrame(f, address, protocol);
  return Bytes(f, f + kFrameSize);
}

inline Bytes ReadBytes(uint8_t address, uint8_t item, uint8_t position = 0) {
  uint8_t f[kFrameSize];
  BuildReadFrame(f, address, item, position);
  return Bytes(f, f + kFrameSize);
}

inline Bytes WriteBytes(uint8_t address, uint8_t item, uint8_t value, uint8_t extra = 0) {
  uint8_t f[kFrameSize];
  BuildWriteFrame(f, address, item, value, extra);
  return Bytes(f, f + kFrameSize);
}

inline const Bytes kGetProtocolStateBytes = {0xCC, 0x01, 0x01, 0x00, 0x04,
                                             0x00, 0x00, 0x00, 0x00, 0x06};
inline const Bytes kProtocolSpeedBytes = {0xCC, 0x01, 0x01, 0x00, 0x06,
                                          0x00, 0x00, 0x00, 0x00, 0x08};

// The bytes of each frame, in order.
inline std::vector<Bytes> FrameBytes(const std::vector<SentFrame>& frames) {
  std::vector<Bytes> out;
  for (const SentFrame& f : frames) out.push_back(f.bytes);
  return out;
}

// Times of the frames with a command byte, in order.
inline std::vector<VirtualUs> FrameTimes(const std::vector<SentFrame>& frames, uint8_t command) {
  std::vector<VirtualUs> out;
  for (const SentFrame& f : frames) {
    if (f.bytes.size() == kFrameSize && f.bytes[4] == command) out.push_back(f.time);
  }
  return out;
}

// Time of the last status text a panel received, or -1.
inline VirtualUs LastStatusTime(const FakeWindow& window, StatusPanel panel,
                                const std::string& text) {
  VirtualUs time = -1;
  for (const StatusEntry& e : window.statusLog) {
    if (e.panel == panel && e.text == text) time = e.time;
  }
  return time;
}
