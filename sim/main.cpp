// zelta-camsim: cameras on a serial line for ZELTA, its tests and anyone
// trying the tool without hardware. One thread: poll() on the line and on a
// signal descriptor, with a timeout only when the camera has something due.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "link/ptz_decoder.h"
#include "sim/camera_sim.h"
#include "sim/option_values.h"
#include "sim/sim_line.h"
#include "sim/sim_options.h"
#include "sim/trace.h"
#include "version/zelta_version.h"

namespace {

constexpr size_t kMaxPendingOutput = 64 * 1024;

int64_t NowUs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

struct TFileCloser {
  void operator()(FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};

SimTrace::Sink LinesTo(FILE* file) {
  return [file](const std::string& line) {
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
  };
}

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

// "address 1", or "addresses 1-8,12, duplicate 5" on a line of several.
std::string CamerasText(const std::vector<TCameraConfig>& cameras) {
  if (cameras.size() == 1) return "address " + std::to_string(cameras[0].address);
  std::vector<uint8_t> addresses;
  std::vector<uint8_t> duplicates;
  for (const TCameraConfig& camera : cameras) {
    const bool seen = !addresses.empty() && addresses.back() == camera.address;
    (seen ? duplicates : addresses).push_back(camera.address);
  }
  std::string text = "addresses " + AddressListText(addresses);
  if (!duplicates.empty()) text += ", duplicate " + AddressListText(duplicates);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  TSimOptions options;
  const std::string error =
      ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options);
  if (!error.empty()) {
    std::fprintf(stderr, "zelta-camsim: %s\nTry 'zelta-camsim --help'.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(SimHelpText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("zelta-camsim " ZELTA_VERSION);
    return 0;
  }

  // Signals arrive as readable data, so ending runs the normal clean-up.
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (signalFd < 0) {
    std::perror("zelta-camsim: signalfd");
    return 1;
  }

  std::unique_ptr<FILE, TFileCloser> traceFile;
  if (!options.traceFile.empty()) {
    traceFile.reset(std::fopen(options.traceFile.c_str(), "w"));
    if (!traceFile) {
      std::fprintf(stderr, "zelta-camsim: cannot write %s: %s\n", options.traceFile.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }

  SimLine line;
  const TCameraConfig& camera = options.camera;
  std::string failure =
      options.device.empty() ? line.OpenPty() : line.OpenDevice(options.device, camera.baud);
  if (failure.empty() && !options.link.empty()) failure = line.MakeLink(options.link);
  if (!failure.empty()) {
    std::fprintf(stderr, "zelta-camsim: %s\n", failure.c_str());
    return 1;
  }

  const int64_t startUs = NowUs();
  FILE* traceOut = traceFile ? traceFile.get() : stdout;
  SimTrace::Sink menuSink = LinesTo(stdout);
  if (traceFile) {
    // The menu goes to the person at the terminal and into the trace file.
    menuSink = [file = traceFile.get()](const std::string& text) {
      LinesTo(stdout)(text);
      LinesTo(file)(text);
    };
  }
  SimTrace trace(LinesTo(traceOut), menuSink, options.traceMicroseconds ? 0 : startUs);
  trace.SetMicroseconds(options.traceMicroseconds);
  CameraSim sim(options.cameras, trace);

  std::string ready = "zelta-camsim ready on " + line.Path();
  if (!options.link.empty()) ready += " linked as " + options.link;
  ready += " (" + CamerasText(options.cameras) + ", " + std::to_string(camera.baud) + " baud, " +
           PtzProtocolName(camera.protocol) + ")";
  LinesTo(stdout)(ready);

  std::vector<uint8_t> pending;
  const bool isDevice = !options.device.empty();
  int status = 0;
  for (;;) {
    const int64_t deadline = sim.NextDeadline();
    timespec timeout{};
    timespec* wait = nullptr;
    if (deadline >= 0) {
      const int64_t left = std::max<int64_t>(0, deadline - NowUs());
      timeout.tv_sec = static_cast<time_t>(left / 1000000);
      timeout.tv_nsec = static_cast<long>(left % 1000000) * 1000;
      wait = &timeout;
    }
    pollfd fds[2] = {{line.Fd(), static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0},
                     {signalFd, POLLIN, 0}};
    if (::ppoll(fds, 2, wait, nullptr) < 0) {
      if (errno == EINTR) continue;
      std::perror("zelta-camsim: poll");
      status = 1;
      break;
    }
    if ((fds[1].revents & POLLIN) != 0) break;

    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      uint8_t buffer[4096];
      const ssize_t count = ::read(line.Fd(), buffer, sizeof buffer);
      if (count > 0) {
        sim.OnBytes(buffer, static_cast<size_t>(count), isDevice ? camera.baud : line.CurrentBaud(),
                    NowUs());
      } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        // A vanished port would report readiness for ever; stop instead of spinning.
        std::fprintf(stderr, "zelta-camsim: the line %s has gone away\n", line.Path().c_str());
        status = 1;
        break;
      }
    }
    const int64_t now = NowUs();
    sim.OnTime(now);
    const std::vector<uint8_t> due = sim.TakeDueBytes(now);
    pending.insert(pending.end(), due.begin(), due.end());
    if (pending.size() > kMaxPendingOutput) pending.clear();
    WritePending(line.Fd(), pending);
  }
  ::close(signalFd);
  return status;
}
