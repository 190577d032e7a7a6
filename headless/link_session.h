// The camera link as the program runs it, without a window: the engine, the
// real serial component, a main loop for its hand-overs and timers, the
// settings panel in memory. Programs and tests drive it from one thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "comm/comm.h"
#include "headless/headless_window.h"
#include "headless/main_loop.h"
#include "headless/timed_port.h"
#include "link/camera_link_state.h"
#include "link/memory_panel.h"
#include "link/qam_protocol.h"
#include "wiring/comm_link_port.h"

class LinkSession {
 public:
  // `wrap` may put another port between the engine and the timed port (a
  // test double); it returns the port the engine uses.
  using PortWrap = std::function<LinkPort&(LinkPort& inner)>;
  explicit LinkSession(const PortWrap& wrap = nullptr);
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  // Opens the device at the speed (raises RTS and DTR as the main window
  // does); true when it is open. The Baud rate menu follows the speed.
  bool Open(const std::string& device, int baud);
  void Close();
  // Panel defaults and the engine's start: the first poll goes out.
  void Start();
  // The camera the next request goes to, as the address lists set it.
  void SetAddress(uint8_t address) { address_ = address; }
  uint8_t Address() const { return address_; }

  // Runs the loop until the camera answered a poll and nothing is waiting.
  bool WaitLinked(std::chrono::milliseconds limit);
  // True once the link is idle and no request waits for a reply.
  bool Idle() const;
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return loop_->RunUntil(done, limit);
  }
  void RunFor(std::chrono::milliseconds duration) { loop_->RunFor(duration); }

  // Replies the engine accepted, as seen from the receive handler: it either
  // sent the next request or stopped waiting.
  long AcceptedReplies() const { return accepted_; }
  // The port's device has gone and the engine has been told.
  bool LineLost() const { return lineLost_; }

  QamProtocol& Engine() { return *engine_; }
  CameraLinkState& State() { return state_; }
  MemoryPanel& Panel() { return panel_; }
  HeadlessWindow& Window() { return window_; }
  const HeadlessWindow& Window() const { return window_; }
  TimedPort& Port() { return timedPort_; }
  TComm& Comm() { return comm_; }
  MainLoop& Loop() { return *loop_; }

 private:
  void OnRxChar(uint32_t count);

  std::shared_ptr<MainLoop> loop_;
  TComm comm_;
  CommLinkPort commPort_;
  TimedPort timedPort_;
  HeadlessWindow window_;
  MemoryPanel panel_;
  CameraLinkState state_{};
  uint8_t address_ = kDefaultCameraAddress;
  MainLoop::Timer existTimer_;
  MainLoop::Timer qamProtocolTimer_;
  MainLoop::Sleep sleep_;
  std::unique_ptr<QamProtocol> engine_;
  long accepted_ = 0;
  bool lineLost_ = false;
};

// The TBaudRate of a speed of the line speed table (br9600 for anything else).
TBaudRate BaudRateOf(int bitsPerSecond);
