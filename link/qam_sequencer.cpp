// Chooses the next item of the running transfer and sends the requests.
#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

namespace {

// The first pending item of a transfer order, or 0.
template <size_t N>
uint8_t FirstPending(const CameraLinkState& state, const std::array<uint8_t, N>& order) {
  for (const uint8_t item : order) {
    if (ItemIsPending(state, item)) return item;
  }
  return 0;
}

}  // namespace

bool QamProtocol::WriteTransferRunning() const {
  const CameraLinkState& st = s_.state;
  if (st.DelayReadBusy) return false;
  if (st.DelayWriteBusy) return true;
  if (st.ReadBusy) return false;
  return st.WriteBusy != 0;
}

uint8_t QamProtocol::NextPendingItem() {
  // The busy flag of a transfer falls exactly when nothing is left of it.
  CameraLinkState& st = s_.state;
  uint8_t item = 0;
  if (st.DelayReadBusy) {
    if (!(item = FirstPending(st, kDelayTransferOrder))) st.DelayReadBusy = 0;
  } else if (st.DelayWriteBusy) {
    if (!(item = FirstPending(st, kDelayTransferOrder))) st.DelayWriteBusy = 0;
  } else if (st.ReadBusy) {
    if (!(item = FirstPending(st, kTransferOrder))) st.ReadBusy = 0;
  } else if (st.WriteBusy) {
    if (!(item = FirstPending(st, kTransferOrder))) st.WriteBusy = 0;
  }
  return item;
}

void QamProtocol::SendNextRequest(bool write) {
  if (const uint8_t item = NextPendingItem()) {
    write ? SendWrite(item) : SendReadRequest(item);
  } else {
    SendPoll();  // the transfer has just ended: the link is idle again
  }
}

void QamProtocol::SendPoll() {
  BuildPollFrame(s_.state.TxFrame, s_.cameraAddress, ProtocolCode());
  SendRequest(kRequestWatchdogMs);
}

void QamProtocol::SendReadRequest(uint8_t item) {
  BuildReadFrame(s_.state.TxFrame, s_.cameraAddress, item, s_.state.IdIndex);
  staleReplies_ = false;
  if (observer_) observer_->TransferRequest(item);
  SendRequest(kRequestWatchdogMs);
}

void QamProtocol::SendWrite(uint8_t item) {
  CameraLinkState& st = s_.state;
  if (item != refusedItem_ || (item == kItemId && st.IdIndex != refusedIdIndex_)) {
    refusedWrites_ = 0;
    refusedItem_ = item;
    refusedIdIndex_ = st.IdIndex;
  }
  uint8_t extra = 0;
  const uint8_t value = PanelValue(*panel_, st, item, &extra);
  BuildWriteFrame(st.TxFrame, s_.cameraAddress, item, value, extra);
  staleReplies_ = false;
  if (observer_) observer_->TransferRequest(item);
  SendRequest(item == kItemWhiteBal ? kWhiteBalWatchdogMs : kRequestWatchdogMs);
}

void QamProtocol::SendGetProtocolState() {
  // Each query tries the next speed of the table, round and round.
  const int code = CodeOfBaud(s_.port.BaudRate());
  if (code >= 0)
    s_.port.SetBaudRate(BaudOfCode(static_cast<uint8_t>((code + 1) % kLineSpeedCount)));
  BuildGetProtocolStateFrame(s_.state.TxFrame);
  SendRequest(kRequestWatchdogMs);
}

void QamProtocol::SendRequest(int watchdogMs) {
  SendFrame(s_.state.TxFrame, kFrameSize);
  ++requestsSent_;
  s_.state.AwaitingReply = 1;
  s_.existTimer.Restart(watchdogMs);
}

void QamProtocol::RestartWatchdog() {
  s_.existTimer.Restart(kRequestWatchdogMs);
}
