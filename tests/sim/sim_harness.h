// Drives a CameraSim on a virtual clock: bytes go in at the current time,
// time advances from deadline to deadline, and every byte the camera puts on
// the line is recorded with the time it left.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "link/camera_frames.h"
#include "sim/camera_sim.h"

struct TSentBytes {
  int64_t atUs;
  std::vector<uint8_t> bytes;
};

class TSimHarness {
 public:
  explicit TSimHarness(const TCameraConfig& config = TCameraConfig())
      : TSimHarness(std::vector<TCameraConfig>{config}) {}
  // Several cameras on one line.
  explicit TSimHarness(const std::vector<TCameraConfig>& cameras)
      : trace_([this](const std::string& line) { traceLines.push_back(line); },
               [this](const std::string& line) { menuLines.push_back(line); }),
        sim(cameras, trace_) {}

  void Send(const std::vector<uint8_t>& bytes, int lineBaud = 4800) {
    sim.OnBytes(bytes.data(), bytes.size(), lineBaud, now);
    Collect();
  }

  // Lets `us` microseconds pass, stopping at every deadline on the way.
  void Advance(int64_t us) {
    const int64_t target = now + us;
    for (int64_t due = sim.NextDeadline(); due >= 0 && due <= target; due = sim.NextDeadline()) {
      now = due > now ? due : now;
      sim.OnTime(now);
      Collect();
    }
    now = target;
    sim.OnTime(now);
    Collect();
  }

  // Everything sent so far, run together, and forgets it.
  std::vector<uint8_t> TakeOutput() {
    std::vector<uint8_t> all;
    for (const TSentBytes& piece : sent)
      all.insert(all.end(), piece.bytes.begin(), piece.bytes.end());
    sent.clear();
    return all;
  }

  // Sends a request and returns what the camera has answered 1 s later.
  std::vector<uint8_t> Exchange(const std::vector<uint8_t>& request, int lineBaud = 4800) {
    Send(request, lineBaud);
    Advance(1000000);
    return TakeOutput();
  }

  bool TraceHas(const std::string& text) const {
    for (const std::string& line : traceLines) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  int64_t now = 0;
  std::vector<TSentBytes> sent;
  std::vector<std::string> traceLines;
  std::vector<std::string> menuLines;

 private:
  void Collect() {
    std::vector<uint8_t> bytes = sim.TakeDueBytes(now);
    if (!bytes.empty()) sent.push_back({now, std::move(bytes)});
  }

  SimTrace trace_;

 public:
  CameraSim sim;
};

inline std::vector<uint8_t> Poll(uint8_t address, uint8_t protocol = 0) {
  std::vector<uint8_t> frame(kFrameSize);
  BuildPollFrame(frame.data(), address, protocol);
  return frame;
}

inline std::vector<uint8_t> Read(uint8_t address, uint8_t item, uint8_t position = 0) {
  std::vector<uint8_t> frame(kFrameSize);
  BuildReadFrame(frame.data(), address, item, position);
  return frame;
}

inline std::vector<uint8_t> Write(uint8_t address, uint8_t item, uint8_t value, uint8_t extra = 0) {
  std::vector<uint8_t> frame(kFrameSize);
  BuildWriteFrame(frame.data(), address, item, value, extra);
  return frame;
}

inline std::vector<uint8_t> Reply(uint8_t address, uint8_t code, uint8_t b5, uint8_t b6,
                                  uint8_t b7 = 0) {
  std::vector<uint8_t> frame(kFrameSize);
  BuildReplyFrame(frame.data(), address, code, b5, b6, b7);
  return frame;
}
