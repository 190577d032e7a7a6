// The camera's settings: every item of the item table with its held value,
// the 16-character ID text, and the rules by which a write is taken or
// refused. It builds the reply frames a camera sends.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "link/camera_frames.h"
#include "sim/camera_config.h"

class CameraModel {
 public:
  explicit CameraModel(const TCameraConfig& config);

  uint8_t Address() const { return config_.address; }
  // Held value of an item (0 for items the camera does not have).
  uint8_t Value(uint8_t item) const;
  // Held ID character at a position 0..15.
  uint8_t IdChar(size_t position) const { return id_[position]; }
  std::string IdText() const;

  // Reply frames (10 bytes into `reply`).
  void PollReply(uint8_t* reply) const;
  void ReadReply(uint8_t item, uint8_t position, uint8_t* reply) const;
  // Stores the value when valid and not refused; the reply carries the value held afterwards.
  void Write(uint8_t item, uint8_t value, uint8_t extra, uint8_t* reply);
  void ProtocolStateReply(uint8_t* reply) const;

  // A value chosen in the camera's own on-screen menu; false when not taken.
  bool SetFromMenu(uint8_t item, uint8_t value);

 private:
  bool Valid(uint8_t item, uint8_t value) const;
  uint8_t OtherValue(uint8_t item, uint8_t written) const;

  TCameraConfig config_;
  std::map<uint8_t, uint8_t> values_;
  std::array<uint8_t, 16> id_{};
};

// Number of values a write may carry for a list item (0 for other items).
size_t WritableCount(uint8_t item);
