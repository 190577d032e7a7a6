#include "link/line_speeds.h"

namespace {

const LineSpeed* RowOfBaud(int bitsPerSecond) {
  for (const LineSpeed& row : kLineSpeeds) {
    if (row.bitsPerSecond == bitsPerSecond) return &row;
  }
  return nullptr;
}

}  // namespace

int BaudOfCode(uint8_t code) {
  return code < kLineSpeedCount ? kLineSpeeds[code].bitsPerSecond : 0;
}

int CodeOfBaud(int bitsPerSecond) {
  const LineSpeed* row = RowOfBaud(bitsPerSecond);
  return row ? static_cast<int>(row - kLineSpeeds) : -1;
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
