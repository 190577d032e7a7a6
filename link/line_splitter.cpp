#include "link/line_splitter.h"

#include <utility>

#include "link/camera_frames.h"

size_t LineSplitter::ExpectedLength() const {
  if (collecting_ == LinePieceKind::Frame) return kFrameSize;
  return PtzFrameLength(protocol_, frame_.data(), frame_.size());
}

void LineSplitter::FlushGarbage(std::vector<LinePiece>& pieces) {
  if (garbage_.empty()) return;
  pieces.push_back({LinePieceKind::Garbage, std::move(garbage_)});
  garbage_.clear();
}

void LineSplitter::Close(LinePieceKind kind, std::vector<LinePiece>& pieces) {
  pieces.push_back({kind, std::move(frame_), protocol_});
  frame_.clear();
  collecting_ = LinePieceKind::Garbage;
}

void LineSplitter::Take(uint8_t byte, std::vector<LinePiece>& pieces) {
  if (frame_.empty()) {
    collecting_ = LinePieceKind::Garbage;
    if (byte == kFrameStart) {
      collecting_ = LinePieceKind::Frame;
    } else {
      for (const PtzProtocol protocol : ptz_) {
        if (byte != PtzStartByte(protocol)) continue;
        collecting_ = LinePieceKind::Ptz;
        protocol_ = protocol;
        break;
      }
    }
    if (collecting_ == LinePieceKind::Garbage) {
      garbage_.push_back(byte);
      return;
    }
    FlushGarbage(pieces);
  }
  frame_.push_back(byte);
  if (frame_.size() >= ExpectedLength()) Close(collecting_, pieces);
}

std::vector<LinePiece> LineSplitter::Feed(const uint8_t* data, size_t count, int64_t nowUs) {
  std::vector<LinePiece> pieces = Expire(nowUs);
  for (size_t i = 0; i < count; ++i) Take(data[i], pieces);
  if (count > 0) lastByteUs_ = nowUs;
  return pieces;
}

int64_t LineSplitter::Deadline() const {
  if (frame_.empty() && garbage_.empty()) return -1;
  return lastByteUs_ + kInterByteTimeoutUs;
}

std::vector<LinePiece> LineSplitter::Expire(int64_t nowUs) {
  std::vector<LinePiece> pieces;
  const int64_t deadline = Deadline();
  if (deadline < 0 || nowUs < deadline) return pieces;
  FlushGarbage(pieces);
  if (!frame_.empty()) Close(LinePieceKind::Partial, pieces);
  return pieces;
}

std::vector<LinePiece> LineSplitter::Abandon() {
  std::vector<LinePiece> pieces;
  FlushGarbage(pieces);
  if (!frame_.empty()) Close(LinePieceKind::Partial, pieces);
  return pieces;
}
