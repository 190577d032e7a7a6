// A port between the engine and the line that sees which reply frames the
// engine's receiver assembles and that pass the acceptance checks. At each
// read it replays the receiver from the receiver's own state: no timer runs
// within one read, so the replay makes exactly the engine's frames.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "link/camera_frames.h"
#include "link/camera_link_state.h"
#include "link/link_services.h"

using WitnessedFrame = std::array<uint8_t, kFrameSize>;

class ReplyWitness : public LinkPort {
 public:
  explicit ReplyWitness(LinkPort& inner) : inner_(inner) {}

  // The receiver's state and the address the engine accepts replies from.
  void Watch(const CameraLinkState& state, uint8_t address) {
    state_ = &state;
    address_ = address;
  }
  // The frames that passed the checks since the last call, in order.
  std::vector<WitnessedFrame> TakeAccepted();

  bool Enabled() const override { return inner_.Enabled(); }
  bool Gone() const override { return inner_.Gone(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override {
    return inner_.Write(buffer, count);
  }
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override { inner_.SetRTSState(state); }
  int BaudRate() const override { return inner_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { inner_.SetBaudRate(bitsPerSecond); }

 private:
  LinkPort& inner_;
  const CameraLinkState* state_ = nullptr;
  uint8_t address_ = 0;
  std::vector<WitnessedFrame> accepted_;
};
