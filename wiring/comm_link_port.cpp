#include "wiring/comm_link_port.h"

bool CommLinkPort::Enabled() const {
  return comm_.Enabled();
}

int32_t CommLinkPort::Write(const uint8_t* buffer, uint32_t count) {
  return comm_.Write(buffer, count);
}

int32_t CommLinkPort::Read(uint8_t* buffer, uint32_t count) {
  return comm_.Read(buffer, count);
}

void CommLinkPort::SetRTSState(bool state) {
  comm_.SetRTSState(state);
}

int CommLinkPort::BaudRate() const {
  return BaudRateBitsPerSecond(comm_.BaudRate());
}

void CommLinkPort::SetBaudRate(int bitsPerSecond) {
  for (int r = br110; r <= br256000; ++r) {
    const auto rate = static_cast<TBaudRate>(r);
    if (BaudRateBitsPerSecond(rate) == bitsPerSecond) {
      comm_.SetBaudRate(rate);
      return;
    }
  }
}
