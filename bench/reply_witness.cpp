#include "bench/reply_witness.h"

#include <algorithm>

std::vector<WitnessedFrame> ReplyWitness::TakeAccepted() {
  std::vector<WitnessedFrame> taken;
  taken.swap(accepted_);
  return taken;
}

int32_t ReplyWitness::Read(uint8_t* buffer, uint32_t count) {
  const int32_t got = inner_.Read(buffer, count);
  if (state_ == nullptr || got <= 0) return got;
  // The receiver's rules: a frame starts at 0xCC and ends at its tenth byte.
  WitnessedFrame frame{};
  size_t filled = std::min<size_t>(state_->RxCount, kFrameSize);
  std::copy(state_->RxFrame, state_->RxFrame + filled, frame.begin());
  const uint32_t taken = std::min(static_cast<uint32_t>(got), count);
  for (uint32_t i = 0; i < taken; ++i) {
    if (filled == 0 && buffer[i] != kFrameStart) continue;
    if (filled >= kFrameSize) filled = 0;
    frame[filled++] = buffer[i];
    if (filled < kFrameSize) continue;
    if (ReplyAccepted(frame.data(), address_)) accepted_.push_back(frame);
    filled = 0;
  }
  return got;
}
