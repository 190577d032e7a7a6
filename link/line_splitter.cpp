#include "link/line_splitter.h"

#include <utility>

#include "link/camera_frames.h"
#include "link/ptz_decoder.h"

size_t LineSplitter::ExpectedLength() const {
  if (collecting_ == LinePieceKind::Frame) return kFrameSize;
  return PtzFrameLength(protocol_, frame_.data(), frame_.size());
}

void LineSplitter::FlushGarbage(std::vector<LinePiece>& pieces) {
  if (garbage_.empty()) return;
  pieces.push_back({LinePieceKind::Garbage, std::move(garbage_)});
  garbage_.clear();
}

void LineSplitter::AddGarbage(uint8_t byte, std::vector<LinePiece>& pieces) {
  garbage_.push_back(byte);
  if (garbage_.size() >= kGarbagePieceBytes) FlushGarbage(pieces);
}

void LineSplitter::Close(LinePieceKind kind, std::vector<LinePiece>& pieces) {
  pieces.push_back({kind, std::move(frame_), protocol_});
  frame_.clear();
  collecting_ = LinePieceKind::Garbage;
}

LinePieceKind LineSplitter::KindStartedBy(uint8_t byte) {
  if (byte == kFrameStart) return LinePieceKind::Frame;
  for (const PtzProtocol protocol : ptz_) {
    if (byte != PtzStartByte(protocol)) continue;
    protocol_ = protocol;
    return LinePieceKind::Ptz;
  }
  return LinePieceKind::Garbage;
}

// While a PTZ frame that may prove to be noise is open.
bool LineSplitter::Rereads() const {
  return badPtz_ == BadPtzFrames::Reread && collecting_ == LinePieceKind::Ptz && !frame_.empty();
}

void LineSplitter::Reread(std::vector<LinePiece>& pieces) {
  std::vector<uint8_t> bytes = std::move(frame_);
  frame_.clear();
  collecting_ = LinePieceKind::Garbage;
  AddGarbage(bytes.front(), pieces);
  for (size_t i = 1; i < bytes.size(); ++i) Take(bytes[i], pieces);
}

void LineSplitter::Take(uint8_t byte, std::vector<LinePiece>& pieces) {
  if (frame_.empty()) {
    collecting_ = KindStartedBy(byte);
    if (collecting_ == LinePieceKind::Garbage) {
      AddGarbage(byte, pieces);
      return;
    }
    // Garbage before a frame that may yet prove to be noise stays open with it.
    if (badPtz_ == BadPtzFrames::Dropped || collecting_ != LinePieceKind::Ptz) {
      FlushGarbage(pieces);
    }
  }
  frame_.push_back(byte);
  if (frame_.size() < ExpectedLength()) return;
  if (Rereads() && !DecodePtzFrame(protocol_, frame_.data(), frame_.size()).accepted) {
    Reread(pieces);
    return;
  }
  FlushGarbage(pieces);
  Close(collecting_, pieces);
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

std::vector<LinePiece> LineSplitter::Drain() {
  std::vector<LinePiece> pieces;
  // A PTZ frame cut short may hide a frame behind its start byte.
  while (Rereads()) Reread(pieces);
  FlushGarbage(pieces);
  if (!frame_.empty()) Close(LinePieceKind::Partial, pieces);
  return pieces;
}

std::vector<LinePiece> LineSplitter::Expire(int64_t nowUs) {
  const int64_t deadline = Deadline();
  if (deadline < 0 || nowUs < deadline) return {};
  return Drain();
}

std::vector<LinePiece> LineSplitter::Abandon() {
  return Drain();
}
