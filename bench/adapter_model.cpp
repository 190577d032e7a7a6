#include "bench/adapter_model.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <algorithm>

AdapterModel::AdapterModel(int latencyMs, bool exact)
    : latency_(std::chrono::milliseconds(std::max(latencyMs, 1))), exact_(exact) {}

void AdapterModel::Sent(uint32_t bytes, int baud) {
  const Clock::time_point now = Clock::now();
  const auto lineTime = std::chrono::nanoseconds(int64_t{bytes} * 10 * 1000000000 / baud);
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!busy_.empty() && busy_.back().to >= now) {
    busy_.back().to += lineTime;
  } else {
    busy_.push_back({now, now + lineTime});
  }
  while (busy_.size() > 1 && busy_.front().to < now - std::chrono::seconds(1)) busy_.pop_front();
}

int AdapterModel::LineStatus(int, unsigned& lsr) {
  const Clock::time_point now = Clock::now();
  // The status the adapter sent with its last packet.
  const Clock::time_point copy = origin_ + (now - origin_) / latency_ * latency_;
  const std::lock_guard<std::mutex> lock(mutex_);
  const bool busy = std::any_of(busy_.begin(), busy_.end(),
                                [copy](const Busy& b) { return b.from <= copy && copy < b.to; });
  lsr = busy ? 0 : TIOCSER_TEMT;
  return 0;
}

int AdapterModel::GetSerialInfo(int, SerialInfo& info) {
  info.type = exact_ ? PORT_16550A : PORT_UNKNOWN;
  info.flags = 0;
  return 0;
}

int32_t AdapterPort::Write(const uint8_t* buffer, uint32_t count) {
  const int32_t written = inner_.Write(buffer, count);
  if (written > 0) model_->Sent(static_cast<uint32_t>(written), inner_.BaudRate());
  return written;
}
