// Where a whole-line tool stood when the port died under it (an adapter
// unplugged, the device hung up): the run ends there with a failure.
#pragma once

#include <cstdint>
#include <string>

struct LineLoss {
  uint8_t address;  // the camera being polled or written
  int baud;         // the line's rate at that moment
};

// "The line was lost at address 27, 4800 baud"
std::string LineLostText(const LineLoss& loss);

// A tool asked to start on a port that has already gone.
inline constexpr const char* kPortGoneText = "The port has gone (unplugged or hung up).";
