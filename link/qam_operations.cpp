// Where every transfer starts: the user's commands, Write to Several Cameras
// and the line lent to Find Cameras. Each refuses while another transfer
// runs; the user's commands leave their first request to the next watchdog
// tick while an earlier request still waits for its reply.
#include "link/camera_items.h"
#include "link/qam_protocol.h"

namespace {

void MarkPanelItemsPending(CameraLinkState& state) {
  for (const uint8_t item : kTransferOrder) SetItemPending(state, item, true);
  state.IdIndex = 0;
}

void MarkDelayItemsPending(CameraLinkState& state) {
  state.ColToWbPending = 1;
  state.WbToColPending = 1;
}

}  // namespace

bool QamProtocol::BeginTransfer(TransferKind kind, CameraPanel* panel, uint8_t address,
                                LinkByteSink* sink) {
  if (LinkBusy()) return false;
  CameraLinkState& st = s_.state;
  if (panel || kind == TransferKind::LineLent) TakeLineAfresh();
  if (panel) {
    panel_ = panel;
    s_.cameraAddress = address;
  }
  refusedWrites_ = 0;
  lastEnd_.reset();
  switch (kind) {
    case TransferKind::Read:
      st.ReadBusy = 1;
      MarkPanelItemsPending(st);
      break;
    case TransferKind::Write:
      st.WriteBusy = 1;
      MarkPanelItemsPending(st);
      break;
    case TransferKind::DelayRead:
      MarkDelayItemsPending(st);
      st.DelayReadBusy = 1;
      break;
    case TransferKind::DelayWrite:
      MarkDelayItemsPending(st);
      st.DelayWriteBusy = 1;
      break;
    case TransferKind::Probe:
      st.ProbeBusy = 1;
      break;
    case TransferKind::LineLent:
      sink_ = sink;
      // The other user sends its own requests and keeps its own time.
      s_.existTimer.Stop();
      s_.qamProtocolTimer.Stop();
      return true;
  }
  if (st.AwaitingReply) return true;  // the next watchdog tick sends it
  if (kind == TransferKind::Probe) {
    SendGetProtocolState();
  } else {
    SendNextRequest(WriteTransferRunning());
  }
  return true;
}

void QamProtocol::TakeLineAfresh() {
  CameraLinkState& st = s_.state;
  // Silence counted and a reply awaited belong to what the line did before.
  st.MissedTicks = 0;
  st.AwaitingReply = 0;
  st.RxCount = 0;
  staleReplies_ = true;
  // A sweep would change the rate under the new transfer: it ends at the menu's rate.
  if (ProtocolSpeedStep != kSweepIdle) {
    RestoreMenuBaudRate(0);
    ProtocolSpeedStep = kSweepIdle;
  }
}

void QamProtocol::ReadButtonClick() {
  BeginTransfer(TransferKind::Read);
}

void QamProtocol::WriteButtonClick() {
  BeginTransfer(TransferKind::Write);
}

void QamProtocol::ReadImageDelayClick() {
  BeginTransfer(TransferKind::DelayRead);
}

void QamProtocol::WriteImageDelayClick() {
  BeginTransfer(TransferKind::DelayWrite);
}

void QamProtocol::GetRS422SETS1Click() {
  BeginTransfer(TransferKind::Probe);
}

bool QamProtocol::StartTransferAt(TransferKind kind, CameraPanel& panel, uint8_t address) {
  if (kind == TransferKind::Probe || kind == TransferKind::LineLent) return false;
  return BeginTransfer(kind, &panel, address);
}

void QamProtocol::SetBackToUser(uint8_t address) {
  panel_ = &s_.panel;
  s_.cameraAddress = address;
  staleReplies_ = true;
}

void QamProtocol::CancelTransfer() {
  CameraLinkState& st = s_.state;
  st.ReadBusy = 0;
  st.WriteBusy = 0;
  st.DelayReadBusy = 0;
  st.DelayWriteBusy = 0;
  for (const uint8_t item : kTransferOrder) SetItemPending(st, item, false);
  for (const uint8_t item : kDelayTransferOrder) SetItemPending(st, item, false);
  st.IdIndex = 0;
  refusedWrites_ = 0;
  staleReplies_ = true;
}
