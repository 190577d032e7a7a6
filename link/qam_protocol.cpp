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
  if (s_.window.ProtocolChecked(kProtocolPelcoP)) return kProtocolPelcoP;
  if (s_.window.ProtocolChecked(kProtocolPelcoD)) return kProtocolPelcoD;
  return kProtocolErnitec;
}

void QamProtocol::LinkDisplayUpdate() {
  s_.window.SetTransferButtonsEnabled(s_.window.DelayLamp() == LampColour::Lime);
}

void QamProtocol::SetLampColour(LampColour colour) {
  s_.window.SetLamp(colour);
  s_.window.SetDelayLamp(s_.window.Lamp());
  LinkDisplayUpdate();
}
