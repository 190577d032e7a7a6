// The watchdog tick: counts silence, fails dead transfers, repeats the
// unanswered request, steps the Get Protocol State search, polls when idle.
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

const unsigned kProbeQueryLimit = static_cast<unsigned>(2 * kLineSpeedCount);

void QamProtocol::ExistTimerTimer() {
  // A tick queued before the notice (or the pause) stopped the watchdog.
  if (noticeOpen_ || Paused()) return;
  CameraLinkState& st = s_.state;
  const uint32_t sent = requestsSent_;
  if (++st.MissedTicks > kMissedTicksLimit) {
    st.MissedTicks = 0;
    FailSilentLink();
  }
  // A follower told of the failure may have started the next transfer,
  // whose first request has just gone: one request per tick.
  if (requestsSent_ == sent) SendFromTick();
}

void QamProtocol::FailSilentLink() {
  CameraLinkState& st = s_.state;
  const bool transfer = st.ReadBusy || st.WriteBusy || st.DelayReadBusy || st.DelayWriteBusy;
  if (LinkBusy()) {
    if (st.DelayReadBusy || st.DelayWriteBusy) {
      FailDelayTransfer();
    } else if (st.ReadBusy) {
      s_.window.SetMainStatus("READ ERROR..");
    } else if (st.WriteBusy) {
      s_.window.SetMainStatus("WRITE ERROR..");
    }
    // A search goes on with its own count of queries.
    st.ReadBusy = 0;
    st.WriteBusy = 0;
  }
  SetLampColour(LampColour::Red);
  if (transfer) ReportTransferEnd(TransferEnd::Failed);
}

void QamProtocol::FailDelayTransfer() {
  CameraLinkState& st = s_.state;
  s_.window.SetDialogStatus("Transfer ERROR..");
  st.ColToWbPending = 0;
  st.WbToColPending = 0;
  st.DelayReadBusy = 0;
  st.DelayWriteBusy = 0;
}

void QamProtocol::SendFromTick() {
  CameraLinkState& st = s_.state;
  if (st.DelayReadBusy || st.DelayWriteBusy || st.ReadBusy || st.WriteBusy) {
    // The next pending item is still the unanswered one: this repeats it.
    SendNextRequest(WriteTransferRunning());
  } else if (st.ProbeBusy) {
    if (++st.ProbeTries <= kProbeQueryLimit) {
      SendGetProtocolState();
    } else {
      GiveUpProbe();
    }
  } else {
    SendPoll();
  }
}

void QamProtocol::GiveUpProbe() {
  CameraLinkState& st = s_.state;
  st.ProbeTries = 0;
  st.ProbeBusy = 0;
  // The menu is asked from the second speed on, the first one last.
  RestoreMenuBaudRate(1);
  SetLampColour(LampColour::Red);
  s_.window.SetMainStatus("Disconnect");
  lastEnd_ = TransferEnd::Failed;
}
