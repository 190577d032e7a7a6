#include "link/qam_protocol.h"

#include "link/camera_items.h"

QamProtocol::QamProtocol(const QamProtocolServices& services)
    : s_(services), panel_(&services.panel) {}

void QamProtocol::Start() {
  s_.state.MissedTicks = 0;
  SendPoll();
}

bool QamProtocol::LinkBusy() const {
  return ::LinkBusy(s_.state) || Paused();
}

uint8_t QamProtocol::ProtocolCode() const {
  // Asked in row order; with none checked, the last row's code.
  const size_t count = PtzProtocolCount();
  for (size_t code = 0; code + 1 < count; ++code) {
    if (s_.window.ProtocolChecked(static_cast<uint8_t>(code))) return static_cast<uint8_t>(code);
  }
  return static_cast<uint8_t>(count - 1);
}

void QamProtocol::LinkDisplayUpdate() {
  s_.window.SetTransferButtonsEnabled(s_.window.DelayLamp() == LampColour::Lime);
}

void QamProtocol::SetLampColour(LampColour colour) {
  s_.window.SetLamp(colour);
  s_.window.SetDelayLamp(s_.window.Lamp());
  LinkDisplayUpdate();
}
