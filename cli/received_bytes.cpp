#include "cli/received_bytes.h"

int32_t ReceivedBytes::Read(uint8_t* buffer, uint32_t count) {
  const int32_t got = inner_.Read(buffer, count);
  if (got > 0) {
    bytes_.insert(bytes_.end(), buffer, buffer + got);
    last_ = Clock::now();
  }
  return got;
}
