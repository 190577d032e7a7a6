#include "link/line_speeds.h"

#include <iterator>

namespace {

constexpr LineSpeed kRows[] = {
    {1200, 16, "Camera Protocol ."},
    {2400, 12, "Camera Protocol .."},
    {4800, 4, "Camera Protocol ..."},
    {9600, 5, "Camera Protocol ...."},
};
// A code is one byte, and the engine marks "no sweep" with 0xFF.
static_assert(std::size(kRows) < 0xFF, "speed codes are bytes below 0xFF");

const LineSpeed* RowOfBaud(int bitsPerSecond) {
  for (const LineSpeed& row : kLineSpeeds) {
    if (row.bitsPerSecond == bitsPerSecond) return &row;
  }
  return nullptr;
}

}  // namespace

const size_t kLineSpeedCount = std::size(kRows);
const LineSpeedTable kLineSpeeds = {kRows, kLineSpeedCount};

int BaudOfCode(uint8_t code) {
  return code < kLineSpeedCount ? kLineSpeeds[code].bitsPerSecond : 0;
}

int CodeOfBaud(int bitsPerSecond) {
  const LineSpeed* row = RowOfBaud(bitsPerSecond);
  return row ? static_cast<int>(row - kRows) : -1;
}

std::string BaudRateText(uint8_t code) {
  const int baud = BaudOfCode(code);
  return baud == 0 ? std::string() : "Baud Rate : " + std::to_string(baud);
}

int GuardTimeMs(int bitsPerSecond) {
  const LineSpeed* row = RowOfBaud(bitsPerSecond);
  return row ? row->guardTimeMs : 0;
}

std::string ProbeRateText(int bitsPerSecond) {
  const LineSpeed* row = RowOfBaud(bitsPerSecond);
  return row ? row->probeText : "";
}
