// Lends the line to another user and takes it back.
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

bool QamProtocol::Pause(LinkByteSink& sink) {
  return BeginTransfer(TransferKind::LineLent, nullptr, 0, &sink);
}

void QamProtocol::Resume() {
  if (!Paused()) return;
  sink_ = nullptr;
  s_.state.RxCount = 0;
  s_.state.MissedTicks = 0;
  RestoreMenuBaudRate(0);
  SendPoll();
}
