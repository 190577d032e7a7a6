// The camera's receiver: it assembles settings frames (start byte 0xCC, ten
// bytes) and PTZ frames of the camera's own PTZ protocol from the bytes on the
// line. Bytes that start neither are skipped; a frame whose bytes stop for
// 200 ms is dropped, as the tool does with replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/ptz_frames.h"

enum class RxKind : uint8_t {
  Command,  // a complete 10-byte settings frame
  Ptz,      // a complete PTZ frame of the camera's protocol
  Skipped,  // bytes outside any frame
  Partial,  // a frame cut off by 200 ms without a byte
};

struct TRxEvent {
  RxKind kind;
  std::vector<uint8_t> bytes;
};

constexpr int64_t kInterByteTimeoutUs = 200000;

class FrameReceiver {
 public:
  explicit FrameReceiver(PtzProtocol protocol) : protocol_(protocol) {}

  // Takes bytes that arrived at `nowUs`; returns what they completed.
  std::vector<TRxEvent> Feed(const uint8_t* data, size_t count, int64_t nowUs);
  // Drops a partial frame (and reports skipped bytes) once 200 ms have passed.
  std::vector<TRxEvent> Expire(int64_t nowUs);
  // When Expire has something to do; -1 when nothing waits.
  int64_t Deadline() const;
  // Forgets a frame in progress without reporting it (returned as an event).
  std::vector<TRxEvent> Abandon();

 private:
  void Take(uint8_t byte, std::vector<TRxEvent>& events);
  size_t ExpectedLength() const;
  void FlushSkipped(std::vector<TRxEvent>& events);

  PtzProtocol protocol_;
  RxKind collecting_ = RxKind::Skipped;  // Command or Ptz while a frame is open
  std::vector<uint8_t> frame_;
  std::vector<uint8_t> skipped_;
  int64_t lastByteUs_ = 0;
};

// The first byte of a PTZ frame in each protocol.
uint8_t PtzStartByte(PtzProtocol protocol);
