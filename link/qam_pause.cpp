// Lends the line to another user and takes it back.
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

bool QamProtocol::Pause(LinkByteSink& sink) {
  if (LinkBusy()) return false;
  sink_ = &sink;
  CameraLinkState& st = s_.state;
  s_.existTimer.Stop();
  s_.qamProtocolTimer.Stop();
  st.RxCount = 0;
  st.AwaitingReply = 0;
  st.MissedTicks = 0;
  // The other user sets its own rates; a sweep would fight it.
  ProtocolSpeedStep = kSweepIdle;
  return true;
}

void QamProtocol::Resume() {
  if (!Paused()) return;
  sink_ = nullptr;
  s_.state.RxCount = 0;
  s_.state.MissedTicks = 0;
  RestoreMenuBaudRate(0);
  SendPoll();
}
