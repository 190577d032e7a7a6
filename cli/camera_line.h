// The camera link as the window runs it, for one command: the port opened
// exclusively at the chosen speed, the engine polling, the progress texts on
// a terminal, and every wait cut short by Ctrl+C.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "cli/line_options.h"
#include "headless/link_session.h"

class CameraLine {
 public:
  explicit CameraLine(const LineOptions& options, const LinkSession::PortWrap& wrap = nullptr);

  // Opens the port; empty when it is open, else why not (port_problem.h).
  std::string Open();
  // Why the port is not open, as Open says it.
  std::string PortClosedText() const;
  // Starts the engine at the chosen address; its first poll goes out.
  void Start();
  // Addresses the camera and waits for its answer to a poll; false when it
  // gave none (or the user stopped).
  bool Connect(uint8_t address);
  // Connect, saying "no answer from camera N" when the camera gave none; a
  // stop is no silence of the camera and is said by the caller.
  bool ConnectOrSay(uint8_t address);
  // Runs the link until `done`, the time limit, a stop or the loss of the
  // line; true when done.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::minutes(2));
  // Runs the link until the transfer or search the engine is busy with ends.
  bool RunTransfer();

  LinkSession& Session() { return session_; }
  QamProtocol& Engine() { return session_.Engine(); }
  CameraLinkState& State() { return session_.State(); }
  HeadlessWindow& Window() { return session_.Window(); }
  // Whether the camera answers the polls (the window's lamp is green).
  bool Answering() const;
  // The port's device went away (unplugged, hung up): the command ends at
  // once, with the port's exit status.
  bool LineLost() const { return session_.LineLost(); }
  // Progress goes to stderr: it is a terminal and not --quiet.
  bool ShowsProgress() const { return showProgress_; }

 private:
  void Tick();

  const LineOptions options_;
  LinkSession session_;
  // Wakes the loop often enough to notice Ctrl+C and to show progress.
  MainLoop::Timer ticker_;
  const bool showProgress_;
  std::string shownStatus_;
};
