#include "tests/link/support/link_rig.h"

#include <utility>

#include "link/camera_panel.h"

LinkRig::LinkRig(const LinkRigOptions& options)
    : engine(QamProtocolServices{state, cameraAddress, panel, window, port, existTimer,
                                 qamProtocolTimer, sleep}) {
  SetPanelDefaults(panel, state);
  ClearLinkFlags(state);
  for (uint8_t code = 0; code < 4; ++code) window.baudChecks[code] = code == options.menuBaudCode;
  for (size_t code = 0; code < window.protocolChecks.size(); ++code)
    window.protocolChecks[code] = code == options.protocolCode;
  window.baudStatus = BaudRateText(options.menuBaudCode);
  window.protocolStatus = ProtocolText(options.protocolCode);
  port.SetBaudRate(BaudOfCode(options.menuBaudCode));
  port.SetEnabled(options.portOpen);
  port.ClearRecords();
  camera.baud = BaudOfCode(options.menuBaudCode);
  camera.protocolCode = options.protocolCode;

  existTimer.onTimer = [this] { engine.ExistTimerTimer(); };
  qamProtocolTimer.onTimer = [this] { engine.QamProtocolTimerTimer(); };
  port.onTxEmpty = [this] { engine.Comm1TxEmpty(); };
  camera.deliver = [this](const std::vector<uint8_t>& bytes) { Deliver(bytes); };
}

void LinkRig::Deliver(const std::vector<uint8_t>& bytes) {
  port.Receive(bytes);
  engine.Comm1RxChar(static_cast<uint32_t>(port.RxWaiting()));
}

void LinkRig::DeliverAt(VirtualUs time, std::vector<uint8_t> bytes) {
  clock.At(time, [this, bytes = std::move(bytes)] { Deliver(bytes); });
}

bool LinkRig::StartLinked(VirtualUs limit) {
  Start();
  return clock.RunUntil([this] { return window.lamp == LampColour::Lime; }, clock.Now() + limit);
}

bool LinkRig::RunUntilIdle(VirtualUs limit) {
  return clock.RunUntil([this] { return !engine.LinkBusy(); }, clock.Now() + limit);
}

std::vector<SentFrame> LinkRig::FramesSince(size_t from) const {
  const auto& frames = port.Frames();
  if (from >= frames.size()) return {};
  return std::vector<SentFrame>(frames.begin() + static_cast<long>(from), frames.end());
}

void LinkRig::ClearRecords() {
  port.ClearRecords();
  window.ClearRecords();
  camera.heard.clear();
  sleep.sleeps.clear();
  existTimer.ticks.clear();
  existTimer.restarts.clear();
  qamProtocolTimer.ticks.clear();
  qamProtocolTimer.restarts.clear();
}
