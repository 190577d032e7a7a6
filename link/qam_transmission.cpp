// Puts frames on the line and handles the end of each transmission: guard
// time, RTS, the ProtocolSpeed sweep and the progress text.
#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "link/qam_protocol.h"

void QamProtocol::SendFrame(const uint8_t* bytes, size_t count) {
  // A closed port, or one whose device has gone, loses the frame silently;
  // the watchdog notices the silence.
  if (!s_.port.Enabled() || s_.port.Gone()) return;
  s_.port.SetRTSState(false);
  for (size_t i = 0; i < count; ++i) s_.port.Write(bytes + i, 1);
}

void QamProtocol::Comm1Gone() {
  if (sink_) {
    sink_->LineGone();
  } else if (observer_) {
    CancelTransfer();
    ReportTransferEnd(TransferEnd::LineLost);
  }
}

void QamProtocol::Comm1TxEmpty() {
  if (const int guard = GuardTimeMs(s_.port.BaudRate()); guard > 0) s_.sleep.SleepMs(guard);
  s_.port.SetRTSState(true);
  AdvanceProtocolSpeedSweep();
  StatusAfterTransmission();
}

void QamProtocol::ProtocolSpeedClick() {
  if (LinkBusy()) return;
  // Each step sets the next speed of the table; a click after the last one
  // goes back to the menu's speed and starts over.
  const unsigned next = ProtocolSpeedStep == kSweepIdle ? 0u : ProtocolSpeedStep + 1u;
  if (next < kLineSpeedCount) {
    s_.port.SetBaudRate(kLineSpeeds[next].bitsPerSecond);
    ProtocolSpeedStep = static_cast<uint8_t>(next);
  } else {
    RestoreMenuBaudRate(0);
    ProtocolSpeedStep = 0;
  }
  BuildProtocolSpeedFrame(s_.state.TxFrame);
  SendFrame(s_.state.TxFrame, kFrameSize);
}

void QamProtocol::AdvanceProtocolSpeedSweep() {
  if (ProtocolSpeedStep >= kSweepIdle) return;
  // A transfer that started meanwhile would refuse the next step and leave
  // the port at a sweep rate: the sweep ends at the menu's rate instead.
  if (ProtocolSpeedStep + 1u == kLineSpeedCount || LinkBusy()) {
    RestoreMenuBaudRate(0);
    ProtocolSpeedStep = kSweepIdle;
    return;
  }
  ProtocolSpeedClick();
}

void QamProtocol::StatusAfterTransmission() {
  const CameraLinkState& st = s_.state;
  if (!LinkBusy()) return;
  if (st.ReadBusy) {
    s_.window.SetMainStatus("Read " + TransferWord());
  } else if (st.WriteBusy) {
    s_.window.SetMainStatus("Write " + TransferWord());
  } else if (st.DelayReadBusy || st.DelayWriteBusy) {
    const uint8_t item = st.TxFrame[kFrameItem];
    s_.window.SetDialogStatus(item == kItemColToWb   ? "Transfer data..."
                              : item == kItemWbToCol ? "Transfer data...."
                                                     : "Finsh");
  } else if (st.ProbeBusy) {
    const std::string check = "Check ";
    s_.window.SetMainStatus(check);
    const std::string rate = ProbeRateText(s_.port.BaudRate());
    if (!rate.empty()) s_.window.SetMainStatus(check + rate);
  }
}

std::string QamProtocol::TransferWord() const {
  const uint8_t item = s_.state.TxFrame[kFrameItem];
  const CameraItem* info = FindCameraItem(item);
  if (!info) return "";
  if (item == kItemId)
    return std::string(info->statusWord) + " " + std::to_string(s_.state.IdIndex);
  return info->statusWord;
}

void QamProtocol::RestoreMenuBaudRate(uint8_t firstCode) {
  for (size_t i = 0; i < kLineSpeedCount; ++i) {
    const auto code = static_cast<uint8_t>((firstCode + i) % kLineSpeedCount);
    if (s_.window.BaudChecked(code)) {
      s_.port.SetBaudRate(BaudOfCode(code));
      return;
    }
  }
}
