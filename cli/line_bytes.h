// Sits between the engine and the port and keeps the bytes the engine writes
// and reads, each with the time the last of them went or came, until they
// are taken as a frame; and whether the engine's RTS is up again (the line
// is free: what it sent has left).
#pragma once

#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

#include "link/link_services.h"

class LineBytes : public LinkPort {
 public:
  using Clock = std::chrono::steady_clock;

  // One direction's bytes since they were last taken.
  struct Piece {
    std::vector<uint8_t> bytes;
    Clock::time_point last{};
  };

  explicit LineBytes(LinkPort& inner) : inner_(inner) {}

  bool Enabled() const override { return inner_.Enabled(); }
  bool Gone() const override { return inner_.Gone(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override;
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override {
    rtsUp_ = state;
    inner_.SetRTSState(state);
  }
  int BaudRate() const override { return inner_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { inner_.SetBaudRate(bitsPerSecond); }

  const Piece& Sent() const { return sent_; }
  const Piece& Received() const { return received_; }
  Piece TakeSent() { return std::exchange(sent_, {}); }
  Piece TakeReceived() { return std::exchange(received_, {}); }
  // The port opens with RTS up; the send routine drops it for each frame and
  // raises it once the frame has left.
  bool RtsUp() const { return rtsUp_; }

 private:
  LinkPort& inner_;
  Piece sent_;
  Piece received_;
  bool rtsUp_ = true;
};
