// A LinkPort that passes everything to another one and notes when each frame
// of the send routine went out: the send routine drops RTS before a frame's
// first byte, so every RTS-off begins a new frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "link/link_services.h"

class TimedPort : public LinkPort {
 public:
  using Clock = std::chrono::steady_clock;

  struct Frame {
    Clock::time_point time;  // of the first byte's Write
    std::vector<uint8_t> bytes;
    Clock::time_point rtsOn{};  // RTS raised again after it; epoch when not (yet)
  };

  explicit TimedPort(LinkPort& inner) : inner_(inner) {}

  bool Enabled() const override { return inner_.Enabled(); }
  bool Gone() const override { return inner_.Gone(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override;
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override;
  int BaudRate() const override { return inner_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { inner_.SetBaudRate(bitsPerSecond); }

  // Frames begun so far (also when not recorded).
  long FramesStarted() const { return framesStarted_; }
  long BytesRead() const { return bytesRead_; }
  // Keeps each frame in `frames` while set; a long run turns it off.
  bool record = true;
  std::vector<Frame> frames;
  // Called with each frame once its last byte of the Write calls is known:
  // at the next RTS-off or when asked with FlushFrame.
  void FlushFrame();
  const std::vector<uint8_t>& CurrentFrame() const { return current_; }

 private:
  LinkPort& inner_;
  bool inFrame_ = false;
  Clock::time_point frameStart_{};
  Clock::time_point rtsOn_{};
  std::vector<uint8_t> current_;
  long framesStarted_ = 0;
  long bytesRead_ = 0;
};
