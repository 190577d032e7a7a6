// Reading zelta-camsim's trace file back: one entry per frame line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SimTraceLine {
  int64_t us = 0;   // stamp in microseconds
  bool tx = false;  // sent by the camera (TX) or received (RX)
  std::vector<uint8_t> bytes;
  std::string meaning;
};

// Frame lines of the trace (other lines are skipped). Reads from `offset` on
// and moves it past the last complete line, so a growing file can be read in
// steps.
std::vector<SimTraceLine> ReadSimTrace(const std::string& path, long& offset);
