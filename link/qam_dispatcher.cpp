// Acts on each complete reply frame.
#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

void QamProtocol::DispatchReply(const uint8_t* frame) {
  // The reply that opened a notice goes on once it closes; whatever comes
  // meanwhile (a repeat, noise) must not restart the watchdog or the chain.
  if (noticeOpen_) return;
  s_.existTimer.Stop();
  // Corrupt, foreign or unknown frames count for nothing: the watchdog
  // interval simply runs anew.
  // A read or write reply to a request of a transfer since cancelled or
  // left (a late read-back at the user's own address) must not reach the panel.
  const uint8_t code = frame[kFrameCode];
  const bool stale = staleReplies_ && (code == kReplyRead || code == kReplyWrite);
  if (stale || !ReplyAccepted(frame, s_.cameraAddress)) {
    s_.existTimer.Start();
    return;
  }
  switch (code) {
    case kReplyPoll:
      OnPollReply();
      break;
    case kReplyRead:
      OnReadReply(frame);
      break;
    case kReplyWrite:
      OnWriteReply(frame);
      break;
    case kReplyProtocolState:
      OnProtocolStateReply(frame);
      break;
    default:
      s_.existTimer.Start();
      break;
  }
}

void QamProtocol::OnPollReply() {
  CameraLinkState& st = s_.state;
  st.MissedTicks = 0;
  st.AwaitingReply = 0;
  s_.window.SetMainStatus("");
  s_.window.SetDialogStatus("");
  if (s_.window.Lamp() == LampColour::Red) SetLampColour(LampColour::Lime);
  // A transfer that waits for its first request gets it at the next tick.
  s_.existTimer.Restart(LinkBusy() ? kSoonWatchdogMs : kIdleWatchdogMs);
}

void QamProtocol::OnReadReply(const uint8_t* frame) {
  CameraLinkState& st = s_.state;
  st.MissedTicks = 0;
  st.AwaitingReply = 0;
  ApplyReadReply(*panel_, st, frame[kFrameItem], frame[kFrameValue], frame[kFrameExtra]);
  const bool write = WriteTransferRunning();
  if (const uint8_t next = NextPendingItem()) {
    write ? SendWrite(next) : SendReadRequest(next);
  } else {
    FinishTransfer();
  }
}

void QamProtocol::OnWriteReply(const uint8_t* frame) {
  CameraLinkState& st = s_.state;
  st.AwaitingReply = 0;
  const bool confirmed = CheckWriteReply(frame[kFrameItem], frame[kFrameValue], frame[kFrameExtra]);
  st.MissedTicks = 0;
  CountRefusedWrite(confirmed);
  if (refusedWrites_ >= kWriteRefusalLimit) {
    EndRefusedWrite(frame[kFrameValue]);
    return;
  }
  const bool write = WriteTransferRunning();
  if (const uint8_t next = NextPendingItem()) {
    write ? SendWrite(next) : SendReadRequest(next);
  } else {
    FinishTransfer();
  }
}

void QamProtocol::OnProtocolStateReply(const uint8_t* frame) {
  CameraLinkState& st = s_.state;
  st.AwaitingReply = 0;
  st.ProbeBusy = 0;
  st.ProbeTries = 0;
  st.MissedTicks = 0;
  ApplyProtocolState(frame);
  s_.window.SetMainStatus("Finish");
  lastEnd_ = TransferEnd::Finished;
  // The watchdog's next tick polls the camera at its new address and rate.
  s_.existTimer.Restart(kSoonWatchdogMs);
}

void QamProtocol::ApplyProtocolState(const uint8_t* frame) {
  // Any address is taken as the camera gave it, 0 and above 199 included;
  // the address lists show what digits they can.
  s_.cameraAddress = frame[kFrameAddress];
  s_.window.ShowAddress(frame[kFrameAddress]);
  const uint8_t baudCode = frame[kFrameItem];
  if (BaudOfCode(baudCode) != 0) {
    s_.window.CheckBaud(baudCode);
    s_.port.SetBaudRate(BaudOfCode(baudCode));
  }
  const uint8_t protocolCode = frame[kFrameValue];
  if (IsPtzProtocol(protocolCode)) s_.window.CheckProtocol(protocolCode);
}

void QamProtocol::FinishTransfer() {
  s_.window.SetMainStatus("Finish");
  s_.window.SetDialogStatus("Finsh");
  s_.existTimer.Restart(kIdleWatchdogMs);
  ReportTransferEnd(TransferEnd::Finished);
}

void QamProtocol::ReportTransferEnd(TransferEnd end) {
  lastEnd_ = end;
  if (observer_) observer_->TransferEnded(end);
}
