#include "ui/tools/line_tap.h"

TappedLinkPort::~TappedLinkPort() {
  if (listener_ != nullptr) listener_->PortGone();
}

int32_t TappedLinkPort::Write(const uint8_t* buffer, uint32_t count) {
  const int32_t written = port_.Write(buffer, count);
  if (listener_ != nullptr && written > 0) {
    listener_->BytesSent(buffer, static_cast<size_t>(written));
  }
  return written;
}

int32_t TappedLinkPort::Read(uint8_t* buffer, uint32_t count) {
  const int32_t read = port_.Read(buffer, count);
  if (listener_ != nullptr && read > 0) listener_->BytesReceived(buffer, static_cast<size_t>(read));
  return read;
}
