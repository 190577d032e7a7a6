// The user's commands that start a transfer. Each refuses while another
// transfer runs, and leaves its first request to the next watchdog tick while
// an earlier request still waits for its reply.
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

void QamProtocol::ReadButtonClick() {
  if (LinkBusy()) return;
  s_.state.ReadBusy = 1;
  MarkPanelItemsPending(s_.state);
  if (!s_.state.AwaitingReply) SendNextRequest(false);
}

void QamProtocol::WriteButtonClick() {
  if (LinkBusy()) return;
  s_.state.WriteBusy = 1;
  MarkPanelItemsPending(s_.state);
  refusedWrites_ = 0;
  if (!s_.state.AwaitingReply) SendNextRequest(true);
}

void QamProtocol::ReadImageDelayClick() {
  if (LinkBusy()) return;
  MarkDelayItemsPending(s_.state);
  s_.state.DelayReadBusy = 1;
  if (!s_.state.AwaitingReply) SendNextRequest(false);
}

void QamProtocol::WriteImageDelayClick() {
  if (LinkBusy()) return;
  MarkDelayItemsPending(s_.state);
  s_.state.DelayWriteBusy = 1;
  refusedWrites_ = 0;
  if (!s_.state.AwaitingReply) SendNextRequest(true);
}

void QamProtocol::GetRS422SETS1Click() {
  if (LinkBusy()) return;
  s_.state.ProbeBusy = 1;
  if (!s_.state.AwaitingReply) SendGetProtocolState();
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
}
