#include "sim/serve_line.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include "sim/camera_sim.h"
#include "sim/sim_line.h"

namespace {

constexpr size_t kMaxPendingOutput = 64 * 1024;

// Writes what it can without blocking; the rest waits for POLLOUT.
void WritePending(int fd, std::vector<uint8_t>& pending) {
  while (!pending.empty()) {
    const ssize_t written = ::write(fd, pending.data(), pending.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      // EAGAIN: the far end does not read; EIO: nobody holds the line.
      if (errno != EAGAIN && errno != EWOULDBLOCK) pending.clear();
      return;
    }
    pending.erase(pending.begin(), pending.begin() + written);
  }
}

// The poll timeout until `deadline`, or null to wait for the line alone.
timespec* TimeoutUntil(int64_t deadline, timespec& timeout) {
  if (deadline < 0) return nullptr;
  const int64_t left = std::max<int64_t>(0, deadline - MonotonicNowUs());
  timeout.tv_sec = static_cast<time_t>(left / 1000000);
  timeout.tv_nsec = static_cast<long>(left % 1000000) * 1000;
  return &timeout;
}

// Hands what the line brought to the cameras; false when the line is gone.
bool ReadLine(SimLine& line, CameraSim& sim, int deviceBaud) {
  uint8_t buffer[4096];
  const ssize_t count = ::read(line.Fd(), buffer, sizeof buffer);
  if (count > 0) {
    sim.OnBytes(buffer, static_cast<size_t>(count),
                deviceBaud != 0 ? deviceBaud : line.CurrentBaud(), MonotonicNowUs());
  } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
    // A vanished port would report readiness for ever; stop instead of spinning.
    std::fprintf(stderr, "zelta-camsim: the line %s has gone away\n", line.Path().c_str());
    return false;
  }
  return true;
}

// Lets the cameras act on the time and queues what they have to say.
void SendDue(int fd, CameraSim& sim, std::vector<uint8_t>& pending) {
  const int64_t now = MonotonicNowUs();
  sim.OnTime(now);
  const std::vector<uint8_t> due = sim.TakeDueBytes(now);
  pending.insert(pending.end(), due.begin(), due.end());
  if (pending.size() > kMaxPendingOutput) pending.clear();
  WritePending(fd, pending);
}

}  // namespace

int64_t MonotonicNowUs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

bool WaitUnlessSignalled(int signalFd, long ms) {
  const int64_t until = MonotonicNowUs() + int64_t{ms} * 1000;
  for (;;) {
    timespec timeout{};
    pollfd fds[1] = {{signalFd, POLLIN, 0}};
    const int ready = ::ppoll(fds, 1, TimeoutUntil(ms < 0 ? -1 : until, timeout), nullptr);
    if (ready > 0) return false;
    if (ready == 0) return true;
    if (errno != EINTR) return false;
  }
}

int ServeLine(SimLine& line, CameraSim& sim, int signalFd, int deviceBaud, long unplugAfter) {
  std::vector<uint8_t> pending;
  for (;;) {
    timespec timeout{};
    timespec* wait = TimeoutUntil(sim.NextDeadline(), timeout);
    pollfd fds[2] = {{line.Fd(), static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0},
                     {signalFd, POLLIN, 0}};
    if (::ppoll(fds, 2, wait, nullptr) < 0) {
      if (errno == EINTR) continue;
      std::perror("zelta-camsim: poll");
      return 1;
    }
    if ((fds[1].revents & POLLIN) != 0) return 0;
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !ReadLine(line, sim, deviceBaud)) {
      return 1;
    }
    SendDue(line.Fd(), sim, pending);
    if (unplugAfter >= 0 && sim.AllReplies() >= unplugAfter && pending.empty() &&
        sim.NextDeadline() < 0) {
      return 2;
    }
  }
}
