#include "sim/frame_receiver.h"

#include "link/camera_frames.h"

uint8_t PtzStartByte(PtzProtocol protocol) {
  switch (protocol) {
    case PtzProtocol::PelcoP:
      return 0xA0;
    case PtzProtocol::PelcoD:
      return 0xFF;
    case PtzProtocol::Ernitec:
      return 0x02;
  }
  return 0xA0;
}

size_t FrameReceiver::ExpectedLength() const {
  if (collecting_ == RxKind::Command) return kFrameSize;
  if (protocol_ != PtzProtocol::Ernitec) return PtzTemplateLength(protocol_);
  // The ERNITEC form follows from bytes 2 and 3; until they are in, at least 5.
  if (frame_.size() < 4) return 5;
  return ErnitecFrameLength(frame_[2], frame_[3]);
}

void FrameReceiver::FlushSkipped(std::vector<TRxEvent>& events) {
  if (skipped_.empty()) return;
  events.push_back({RxKind::Skipped, skipped_});
  skipped_.clear();
}

void FrameReceiver::Take(uint8_t byte, std::vector<TRxEvent>& events) {
  if (frame_.empty()) {
    if (byte == kFrameStart) {
      collecting_ = RxKind::Command;
    } else if (byte == PtzStartByte(protocol_)) {
      collecting_ = RxKind::Ptz;
    } else {
      skipped_.push_back(byte);
      return;
    }
    FlushSkipped(events);
  }
  frame_.push_back(byte);
  if (frame_.size() >= ExpectedLength()) {
    events.push_back({collecting_, frame_});
    frame_.clear();
    collecting_ = RxKind::Skipped;
  }
}

std::vector<TRxEvent> FrameReceiver::Feed(const uint8_t* data, size_t count, int64_t nowUs) {
  std::vector<TRxEvent> events = Expire(nowUs);
  for (size_t i = 0; i < count; ++i) Take(data[i], events);
  if (count > 0) lastByteUs_ = nowUs;
  return events;
}

int64_t FrameReceiver::Deadline() const {
  if (frame_.empty() && skipped_.empty()) return -1;
  return lastByteUs_ + kInterByteTimeoutUs;
}

std::vector<TRxEvent> FrameReceiver::Expire(int64_t nowUs) {
  std::vector<TRxEvent> events;
  const int64_t deadline = Deadline();
  if (deadline < 0 || nowUs < deadline) return events;
  FlushSkipped(events);
  if (!frame_.empty()) {
    events.push_back({RxKind::Partial, frame_});
    frame_.clear();
    collecting_ = RxKind::Skipped;
  }
  return events;
}

std::vector<TRxEvent> FrameReceiver::Abandon() {
  std::vector<TRxEvent> events;
  FlushSkipped(events);
  if (!frame_.empty()) events.push_back({RxKind::Partial, frame_});
  frame_.clear();
  collecting_ = RxKind::Skipped;
  return events;
}
