#include "cli/line_bytes.h"

namespace {

void Keep(LineBytes::Piece& piece, const uint8_t* buffer, int32_t count) {
  if (count <= 0) return;
  piece.bytes.insert(piece.bytes.end(), buffer, buffer + count);
  piece.last = LineBytes::Clock::now();
}

}  // namespace

int32_t LineBytes::Write(const uint8_t* buffer, uint32_t count) {
  const int32_t written = inner_.Write(buffer, count);
  Keep(sent_, buffer, written);
  return written;
}

int32_t LineBytes::Read(uint8_t* buffer, uint32_t count) {
  const int32_t got = inner_.Read(buffer, count);
  Keep(received_, buffer, got);
  return got;
}
