// The real camera link engine on small in-memory fakes, for the window tests
// of the PTZ buttons and the image delay dialog. Time moves only when a test
// calls the handlers (watchdog tick, transmit-empty, bytes received).
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "link/camera_frames.h"
#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "link/link_services.h"
#include "link/memory_panel.h"
#include "link/qam_protocol.h"

using Bytes = std::vector<uint8_t>;

// Records every byte as it reaches the port, with the line speed at the time.
class RecordingPort : public LinkPort {
 public:
  bool Enabled() const override { return enabled; }
  int32_t Write(const uint8_t* buffer, uint32_t count) override {
    for (uint32_t i = 0; i < count; ++i) {
      written.push_back(buffer[i]);
      writtenBaud.push_back(baud);
    }
    ++writeCalls;
    return static_cast<int32_t>(count);
  }
  int32_t Read(uint8_t* buffer, uint32_t count) override {
    uint32_t n = 0;
    for (; n < count && !incoming.empty(); ++n) {
      buffer[n] = incoming.front();
      incoming.pop_front();
    }
    return static_cast<int32_t>(n);
  }
  void SetRTSState(bool state) override { rts = state; }
  int BaudRate() const override { return baud; }
  void SetBaudRate(int bitsPerSecond) override { baud = bitsPerSecond; }

  void Clear() {
    written.clear();
    writtenBaud.clear();
    writeCalls = 0;
  }

  bool enabled = true;
  bool rts = true;
  int baud = 4800;
  Bytes written;
  std::vector<int> writtenBaud;
  int writeCalls = 0;
  std::deque<uint8_t> incoming;
};

class ManualTimer : public LinkTimer {
 public:
  void Restart(int intervalMs) override {
    interval = intervalMs;
    active = true;
    ++restarts;
  }
  void Start() override { active = true; }
  void Stop() override { active = false; }
  bool Active() const override { return active; }
  int Interval() const override { return interval; }

  bool active = false;
  int interval = 5000;
  int restarts = 0;
};

class NoSleep : public LinkSleep {
 public:
  void SleepMs(int) override {}
};

// The main window's menus and status bar in memory; the dialog's share is
// handed to `dialog` when one is given (as the main window does).
template <typename Dialog>
class HarnessWindow : public LinkWindow {
 public:
  void SetMainStatus(const std::string& text) override { mainStatus = text; }
  void SetDialogStatus(const std::string& text) override {
    if (dialog) dialog->SetDialogStatus(text);
  }
  void SetLamp(LampColour colour) override { lamp = colour; }
  LampColour Lamp() const override { return lamp; }
  void SetDelayLamp(LampColour colour) override {
    if (dialog) dialog->SetDelayLamp(colour);
  }
  LampColour DelayLamp() const override { return dialog ? dialog->DelayLamp() : lamp; }
  void SetTransferButtonsEnabled(bool enabled) override {
    mainButtonsEnabled = enabled;
    if (dialog) dialog->SetTransferButtonsEnabled(enabled);
  }
  void ShowAddress(uint8_t) override {}
  bool BaudChecked(uint8_t code) const override { return code == baudCode; }
  void CheckBaud(uint8_t code) override { baudCode = code; }
  bool ProtocolChecked(uint8_t code) const override { return code == protocolCode; }
  void CheckProtocol(uint8_t code) override { protocolCode = code; }
  void ShowInformation(const std::string&) override {}

  Dialog* dialog = nullptr;
  std::string mainStatus;
  LampColour lamp = LampColour::Red;
  bool mainButtonsEnabled = false;
  int baudCode = kBaudCode4800;
  int protocolCode = kProtocolPelcoP;  // -1: nothing checked
};

struct NoDialog {
  void SetDialogStatus(const std::string&) {}
  void SetDelayLamp(LampColour) {}
  LampColour DelayLamp() const { return LampColour::Red; }
  void SetTransferButtonsEnabled(bool) {}
};

template <typename Dialog = NoDialog, typename Panel = MemoryPanel>
struct LinkHarness {
  CameraLinkState state{};
  uint8_t cameraAddress = kDefaultCameraAddress;
  Panel panel;
  HarnessWindow<Dialog> window;
  RecordingPort port;
  ManualTimer existTimer;
  ManualTimer qamProtocolTimer;
  NoSleep sleep;
  QamProtocol link{QamProtocolServices{state, cameraAddress, panel, window, port, existTimer,
                                       qamProtocolTimer, sleep}};

  LinkHarness() {
    state.ColToWbCode = kDefaultDelayCode;
    state.WbToColCode = kDefaultDelayCode;
    SetPanelDefaults(panel, state);
  }

  // A reply from the camera arrives whole.
  void Deliver(uint8_t code, uint8_t byte5 = 0, uint8_t byte6 = 0, uint8_t byte7 = 0) {
    uint8_t frame[kFrameSize];
    BuildReplyFrame(frame, cameraAddress, code, byte5, byte6, byte7);
    port.incoming.insert(port.incoming.end(), frame, frame + kFrameSize);
    link.Comm1RxChar(static_cast<uint32_t>(kFrameSize));
  }

  // Start-up and the camera's answer to the first poll: the lamp turns green.
  void StartLinked() {
    link.Start();
    link.Comm1TxEmpty();
    Deliver(kReplyPoll);
    port.Clear();
  }
};

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}
