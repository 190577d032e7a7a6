#include "link/line_splitter.h"

#include <algorithm>
#include <utility>

#include "link/camera_frames.h"
#include "link/ptz_decoder.h"

std::vector<PtzProtocol> AllPtzProtocols() {
  std::vector<PtzProtocol> all;
  for (size_t code = 0; code < PtzProtocolCount(); ++code) all.push_back(PtzProtocolAt(code));
  return all;
}

// The longest frame the candidates may still make of the bytes in.
size_t LineSplitter::ExpectedLength() const {
  if (collecting_ == LinePieceKind::Frame) return kFrameSize;
  size_t longest = 0;
  for (const PtzProtocol protocol : candidates_) {
    longest = std::max(longest, PtzFrameLength(protocol, frame_.data(), frame_.size()));
  }
  return longest;
}

// A candidate whose frame is complete with the bytes in and holds.
bool LineSplitter::Completes(PtzProtocol& protocol) const {
  for (const PtzProtocol candidate : candidates_) {
    if (PtzFrameLength(candidate, frame_.data(), frame_.size()) != frame_.size()) continue;
    if (DecodePtzFrame(candidate, frame_.data(), frame_.size()).accepted) {
      protocol = candidate;
      return true;
    }
  }
  return false;
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
  candidates_.clear();
  for (const PtzProtocol protocol : ptz_) {
    if (byte == PtzStartByte(protocol)) candidates_.push_back(protocol);
  }
  if (candidates_.empty()) return LinePieceKind::Garbage;
  protocol_ = candidates_.front();
  return LinePieceKind::Ptz;
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
  if (collecting_ == LinePieceKind::Ptz && Completes(protocol_)) {
    FlushGarbage(pieces);
    Close(collecting_, pieces);
    return;
  }
  if (frame_.size() < ExpectedLength()) return;
  // No candidate holds: the frame is dropped as the first one's, or reread.
  if (collecting_ == LinePieceKind::Ptz) protocol_ = candidates_.front();
  if (Rereads()) {
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
