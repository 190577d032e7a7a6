#include "cli/stop_signal.h"

#include <signal.h>

#include <atomic>

namespace {

std::atomic<bool> stopRequested{false};

void OnStopSignal(int) {
  stopRequested = true;
}

}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
  return stopRequested;
}
