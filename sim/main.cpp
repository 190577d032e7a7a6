// zelta-camsim: cameras on a serial line for ZELTA, its tests and anyone
// trying the tool without hardware. One thread: poll() on the line and on a
// signal descriptor, with a timeout only when the camera has something due.

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/ptz_decoder.h"
#include "sim/camera_sim.h"
#include "sim/camera_state.h"
#include "sim/option_values.h"
#include "sim/serve_line.h"
#include "sim/sim_line.h"
#include "sim/sim_options.h"
#include "sim/trace.h"
#include "version/zelta_version.h"

namespace {

struct TFileCloser {
  void operator()(FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};
using TFile = std::unique_ptr<FILE, TFileCloser>;

SimTrace::Sink LinesTo(FILE* file) {
  return [file](const std::string& line) {
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
  };
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

// Reads the command line; the exit status when there is nothing to serve:
// a mistake, --help or --version.
std::optional<int> ReadOptions(int argc, char** argv, TSimOptions& options) {
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
  return std::nullopt;
}

// Signals arrive as readable data, so ending runs the normal clean-up.
// Returns the descriptor, or -1 when there is none.
int OpenSignalFd() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (signalFd < 0) std::perror("zelta-camsim: signalfd");
  return signalFd;
}

// The --trace file, if one is given; false when it cannot be written.
bool OpenTraceFile(const TSimOptions& options, TFile& traceFile) {
  if (options.traceFile.empty()) return true;
  traceFile.reset(std::fopen(options.traceFile.c_str(), "w"));
  if (traceFile) return true;
  std::fprintf(stderr, "zelta-camsim: cannot write %s: %s\n", options.traceFile.c_str(),
               std::strerror(errno));
  return false;
}

// --state-dir: each camera starts with what it held at the end of the last
// run; a camera without a file gets one now, so its state can be edited.
bool LoadStates(TSimOptions& options) {
  if (options.stateDir.empty()) return true;
  for (TCameraConfig& camera : options.cameras) {
    std::string problem = LoadCameraState(options.stateDir, camera);
    if (problem.empty()) problem = SaveCameraState(options.stateDir, CameraModel(camera));
    if (!problem.empty()) {
      std::fprintf(stderr, "zelta-camsim: %s\n", problem.c_str());
      return false;
    }
  }
  return true;
}

// Keeps the state file of a camera as the camera changes.
std::function<void(const CameraModel&)> StateKeeper(const std::string& folder) {
  auto saved = std::make_shared<std::map<uint8_t, std::string>>();
  return [folder, saved](const CameraModel& model) {
    std::string& last = (*saved)[model.Address()];
    const std::string now = CameraStateText(model);
    if (now == last) return;
    const std::string problem = SaveCameraState(folder, model);
    if (problem.empty()) {
      last = now;
    } else {
      std::fprintf(stderr, "zelta-camsim: %s\n", problem.c_str());
    }
  };
}

// A new pseudo-terminal (and its link) or the --device port.
bool OpenLine(const TSimOptions& options, SimLine& line) {
  std::string failure = options.device.empty()
                            ? line.OpenPty()
                            : line.OpenDevice(options.device, options.camera.baud);
  if (failure.empty() && !options.link.empty()) failure = line.MakeLink(options.link);
  if (failure.empty()) return true;
  std::fprintf(stderr, "zelta-camsim: %s\n", failure.c_str());
  return false;
}

// The menu goes to the person at the terminal and, with --trace, into the
// trace file too.
SimTrace::Sink MenuSink(FILE* traceFile) {
  if (traceFile == nullptr) return LinesTo(stdout);
  return [traceFile](const std::string& text) {
    LinesTo(stdout)(text);
    LinesTo(traceFile)(text);
  };
}

// The first line on standard output, which scripts wait for.
std::string ReadyText(const TSimOptions& options, const SimLine& line) {
  const TCameraConfig& camera = options.camera;
  std::string ready = "zelta-camsim ready on " + line.Path();
  if (!options.link.empty()) ready += " linked as " + options.link;
  ready += " (" + CamerasText(options.cameras) + ", " + std::to_string(camera.baud) + " baud, " +
           PtzProtocolName(camera.protocol) + ")";
  return ready;
}

// Runs the cameras on the open line until a signal or a failure of the line;
// with --unplug-after, pulls the line out once and plugs in a new one.
int Serve(const TSimOptions& options, SimLine& line, FILE* traceFile, int signalFd) {
  const int64_t startUs = MonotonicNowUs();
  SimTrace trace(LinesTo(traceFile != nullptr ? traceFile : stdout), MenuSink(traceFile),
                 options.traceMicroseconds ? 0 : startUs);
  trace.SetMicroseconds(options.traceMicroseconds);
  CameraSim sim(options.cameras, trace);
  if (!options.stateDir.empty()) sim.SetOnChange(StateKeeper(options.stateDir));
  LinesTo(stdout)(ReadyText(options, line));
  const int deviceBaud = options.device.empty() ? 0 : options.camera.baud;
  const int status = ServeLine(line, sim, signalFd, deviceBaud, options.unplugAfter);
  if (status != 2) return status;
  line.Close();
  LinesTo(stdout)("zelta-camsim unplugged");
  if (!WaitUnlessSignalled(signalFd, options.replugAfterMs)) return 0;
  if (!OpenLine(options, line)) return 1;
  LinesTo(stdout)("zelta-camsim plugged in again on " + line.Path());
  return ServeLine(line, sim, signalFd, deviceBaud);
}

}  // namespace

int main(int argc, char** argv) {
  TSimOptions options;
  if (const std::optional<int> status = ReadOptions(argc, argv, options)) return *status;
  const int signalFd = OpenSignalFd();
  if (signalFd < 0) return 1;
  TFile traceFile;
  if (!OpenTraceFile(options, traceFile)) return 1;
  if (!LoadStates(options)) return 1;
  SimLine line;
  if (!OpenLine(options, line)) return 1;
  const int status = Serve(options, line, traceFile.get(), signalFd);
  ::close(signalFd);
  return status;
}
