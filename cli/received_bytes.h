// Sits between the engine and the port and keeps the bytes the engine reads,
// with the time the last of them came, until they are taken as a frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

#include "link/link_services.h"

class ReceivedBytes : public LinkPort {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ReceivedBytes(LinkPort& inner) : inner_(inner) {}

  bool Enabled() const override { return inner_.Enabled(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override {
    return inner_.Write(buffer, count);
  }
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override { inner_.SetRTSState(state); }
  int BaudRate() const override { return inner_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { inner_.SetBaudRate(bitsPerSecond); }

  // The bytes read since the last Take, and when the last one came.
  std::vector<uint8_t> Take() { return std::exchange(bytes_, {}); }
  bool Empty() const { return bytes_.empty(); }
  Clock::time_point LastTime() const { return last_; }

 private:
  LinkPort& inner_;
  std::vector<uint8_t> bytes_;
  Clock::time_point last_{};
};
