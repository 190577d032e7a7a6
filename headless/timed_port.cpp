#include "headless/timed_port.h"

int32_t TimedPort::Write(const uint8_t* buffer, uint32_t count) {
  if (inFrame_ && current_.empty()) frameStart_ = Clock::now();
  const int32_t written = inner_.Write(buffer, count);
  if (inFrame_) current_.insert(current_.end(), buffer, buffer + count);
  return written;
}

int32_t TimedPort::Read(uint8_t* buffer, uint32_t count) {
  const int32_t got = inner_.Read(buffer, count);
  if (got > 0) bytesRead_ += got;
  return got;
}

void TimedPort::SetRTSState(bool state) {
  if (!state) {
    FlushFrame();
    inFrame_ = true;
    ++framesStarted_;
  }
  inner_.SetRTSState(state);
  if (state && inFrame_ && !current_.empty()) rtsOn_ = Clock::now();
}

void TimedPort::FlushFrame() {
  if (inFrame_ && !current_.empty() && record) frames.push_back({frameStart_, current_, rtsOn_});
  current_.clear();
  rtsOn_ = {};
  inFrame_ = false;
}
