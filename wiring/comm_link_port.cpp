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
  if (const auto rate = BaudRateOfSpeed(bitsPerSecond)) comm_.SetBaudRate(*rate);
}
