#include "cli/stop_signal.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <initializer_list>

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
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

bool StopRequested() {
  return stopRequested;
}

void EndAsClosedPipe() {
  ::signal(SIGPIPE, SIG_DFL);
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  sigprocmask(SIG_UNBLOCK, &pipe, nullptr);
  ::raise(SIGPIPE);
  ::_exit(128 + SIGPIPE);
}
