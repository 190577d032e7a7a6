// The camera link engine wired to fakes on one virtual clock, with a scripted
// camera at the far end of the line. Tests, fuzzers and benchmarks build one
// rig per case; every member is public so that a case can script and inspect
// any part.
#pragma once

#include <cstdint>
#include <vector>

#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "link/memory_panel.h"
#include "link/qam_protocol.h"
#include "tests/link/support/fake_port.h"
#include "tests/link/support/fake_sleep.h"
#include "tests/link/support/fake_timer.h"
#include "tests/link/support/fake_window.h"
#include "tests/link/support/scripted_camera.h"
#include "tests/link/support/virtual_clock.h"

struct LinkRigOptions {
  uint8_t menuBaudCode = kBaudCode9600;  // checked in the Baud rate menu; the port starts there
  uint8_t protocolCode = kProtocolPelcoD;
  bool portOpen = true;
};

class LinkRig {
 public:
  explicit LinkRig(const LinkRigOptions& options = {});

  VirtualClock clock;
  CameraLinkState state{};
  uint8_t cameraAddress = kDefaultCameraAddress;
  MemoryPanel panel;
  FakeWindow window{clock};
  FakePort port{clock};
  FakeTimer existTimer{clock, 5000};
  FakeTimer qamProtocolTimer{clock, 100};
  FakeSleep sleep{clock};
  QamProtocol engine;
  ScriptedCamera camera{clock, port};

  // Puts bytes in the port's receive queue and raises the receive event with
  // the count waiting, as the serial event thread does.
  void Deliver(const std::vector<uint8_t>& bytes);
  void DeliverAt(VirtualUs time, std::vector<uint8_t> bytes);

  // Start-up: the first poll. Linked: and runs until the lamp is green.
  void Start() { engine.Start(); }
  bool StartLinked(VirtualUs limit = Ms(1000));

  VirtualUs Now() const { return clock.Now(); }
  void RunFor(VirtualUs duration) { clock.RunFor(duration); }
  void RunUntil(VirtualUs time) { clock.RunUntil(time); }
  // Runs until the link is idle (no transfer busy); false at the limit.
  bool RunUntilIdle(VirtualUs limit);

  // Frames put on the line since `from` (an index into port.Frames()).
  std::vector<SentFrame> FramesSince(size_t from) const;
  // Forgets what the fakes recorded so far.
  void ClearRecords();
};
