// Puts frames on the line and handles the end of each transmission: guard
// time, RTS, the ProtocolSpeed sweep and the progress text.
#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

namespace {

const uint8_t kMenuOrder[4] = {kBaudCode1200, kBaudCode2400, kBaudCode4800, kBaudCode9600};

constexpr uint8_t kSweepIdle = 4;
constexpr uint8_t kSweepLast = 3;

// The dots after "Check Camera Protocol " tell the rate being tried.
const char* ProbeRateText(int baud) {
  switch (baud) {
    case 9600:
      return "Camera Protocol ....";
    case 4800:
      return "Camera Protocol ...";
    case 2400:
      return "Camera Protocol ..";
    case 1200:
      return "Camera Protocol .";
    default:
      return "";
  }
}

}  // namespace

int GuardTimeMs(int baud) {
  switch (baud) {
    case 1200:
      return 16;
    case 2400:
      return 12;
    case 4800:
      return 4;
    case 9600:
      return 5;
    default:
      return 0;
  }
}

void QamProtocol::SendFrame(const uint8_t* bytes, size_t count) {
  // A closed port loses the frame silently; the watchdog notices the silence.
  if (!s_.port.Enabled()) return;
  s_.port.SetRTSState(false);
  for (size_t i = 0; i < count; ++i) s_.port.Write(bytes + i, 1);
}

void QamProtocol::Comm1TxEmpty() {
  if (const int guard = GuardTimeMs(s_.port.BaudRate()); guard > 0) s_.sleep.SleepMs(guard);
  s_.port.SetRTSState(true);
  AdvanceProtocolSpeedSweep();
  StatusAfterTransmission();
}

void QamProtocol::ProtocolSpeedClick() {
  if (Busy()) return;
  switch (ProtocolSpeedStep) {
    case kSweepIdle:
      s_.port.SetBaudRate(1200);
      ProtocolSpeedStep = 0;
      break;
    case 0:
      s_.port.SetBaudRate(2400);
      ProtocolSpeedStep = 1;
      break;
    case 1:
      s_.port.SetBaudRate(4800);
      ProtocolSpeedStep = 2;
      break;
    case 2:
      s_.port.SetBaudRate(9600);
      ProtocolSpeedStep = kSweepLast;
      break;
    default:
      RestoreMenuBaudRate(kMenuOrder);
      ProtocolSpeedStep = 0;
      break;
  }
  BuildProtocolSpeedFrame(s_.state.TxFrame);
  SendFrame(s_.state.TxFrame, kFrameSize);
}

void QamProtocol::AdvanceProtocolSpeedSweep() {
  if (ProtocolSpeedStep > kSweepLast) return;
  // A transfer that started meanwhile would refuse the next step and leave
  // the port at a sweep rate: the sweep ends at the menu's rate instead.
  if (ProtocolSpeedStep == kSweepLast || Busy()) {
    RestoreMenuBaudRate(kMenuOrder);
    ProtocolSpeedStep = kSweepIdle;
    return;
  }
  ProtocolSpeedClick();
}

void QamProtocol::StatusAfterTransmission() {
  const CameraLinkState& st = s_.state;
  if (!Busy()) return;
  if (st.ReadBusy) {
    s_.window.SetMainStatus("Read " + TransferWord());
  } else if (st.WriteBusy) {
    s_.window.SetMainStatus("Write " + TransferWord());
  } else if (st.DelayReadBusy || st.DelayWriteBusy) {
    const uint8_t item = st.TxFrame[5];
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
  const uint8_t item = s_.state.TxFrame[5];
  const CameraItem* info = FindCameraItem(item);
  if (!info) return "";
  if (item == kItemId)
    return std::string(info->statusWord) + " " + std::to_string(s_.state.IdIndex);
  return info->statusWord;
}

void QamProtocol::RestoreMenuBaudRate(const uint8_t (&order)[4]) {
  for (const uint8_t code : order) {
    if (s_.window.BaudChecked(code)) {
      s_.port.SetBaudRate(BaudOfCode(code));
      return;
    }
  }
}
