// Damage inside frames, as a badly terminated line does it: one bit of one
// byte flipped, or one byte lost. Replies are damaged whole before they leave;
// requests byte by byte as the camera hears them, so a lost byte leaves the
// camera's receiver a byte short, as on a real line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class FrameDamage {
 public:
  FrameDamage(double rate, uint32_t seed);

  // With chance `rate`, damages the frame in place; what was done
  // ("byte 5 bit 3 flipped", "byte 7 lost"), or empty when it is whole.
  std::string Damage(std::vector<uint8_t>& frame);

  // Passes the bytes of the line through as heard at `nowUs`: each settings
  // frame that starts while none is under way is damaged with chance `rate`.
  // Notes what was done to which byte in `notes`.
  std::vector<uint8_t> Hear(const uint8_t* data, size_t count, int64_t nowUs,
                            std::vector<std::string>& notes);

 private:
  struct Plan {
    bool lose = false;
    size_t position = 0;
    int bit = 0;
  };
  Plan Draw();
  static std::string Describe(const Plan& plan);

  double rate_;
  std::mt19937 random_;
  // The frame being heard: where its next byte falls (-1: none), the damage
  // meant for it and when its last byte came.
  long heard_ = -1;
  bool planned_ = false;
  Plan plan_;
  int64_t lastUs_ = 0;
};
