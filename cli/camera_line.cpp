#include "cli/camera_line.h"

#include <unistd.h>

#include <cstdio>

#include "cli/files_folder.h"
#include "cli/port_problem.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "platform/device_names.h"

namespace {

using std::chrono::milliseconds;

constexpr int kTickMs = 100;
// The first poll, its three repeats 500 ms apart and a reply's line time.
constexpr milliseconds kAnswerLimit{5000};

}  // namespace

CameraLine::CameraLine(const LineOptions& options, const LinkSession::PortWrap& wrap)
    : options_(options),
      session_(wrap),
      ticker_(session_.Loop(), [this] { Tick(); }),
      showProgress_(!options.quiet && ::isatty(STDERR_FILENO) == 1) {
  session_.Comm().SetProgramFolder(ProgramFilesFolder());
  session_.Window().CheckProtocol(options.protocol);
  session_.SetAddress(static_cast<uint8_t>(options.address));
  ticker_.Restart(kTickMs);
}

std::string CameraLine::Open() {
  if (std::string problem = FilesFolderProblem(); !problem.empty()) return problem;
  if (session_.Open(options_.port, options_.baud)) return {};
  return PortClosedText();
}

std::string CameraLine::PortClosedText() const {
  return PortProblem(ResolveSerialDeviceName(options_.port, ProgramFilesFolder()));
}

void CameraLine::Start() {
  session_.Start();
}

bool CameraLine::Answering() const {
  return session_.Window().lamp == LampColour::Lime;
}

bool CameraLine::Connect(uint8_t address) {
  session_.SetAddress(address);
  const long before = session_.AcceptedReplies();
  // A poll at the new address soon, as the watchdog sends it.
  session_.Engine().RestartWatchdog();
  return RunUntil([&] { return session_.AcceptedReplies() > before && session_.Idle(); },
                  kAnswerLimit);
}

bool CameraLine::ConnectOrSay(uint8_t address) {
  if (Connect(address)) return true;
  if (!StopRequested() && !LineLost()) Complain("no answer from camera " + std::to_string(address));
  return false;
}

bool CameraLine::RunUntil(const std::function<bool()>& done, milliseconds limit) {
  bool wasDone = false;
  session_.RunUntil(
      [&] {
        wasDone = done();
        return wasDone || StopRequested() || LineLost();
      },
      limit);
  const bool finished = wasDone && !StopRequested();
  if (showProgress_ && !shownStatus_.empty()) {
    std::fputs("\r\033[K", stderr);
    shownStatus_.clear();
  }
  // The window's notices (a camera that keeps its own shutter) are no
  // progress: they are shown even with --quiet.
  std::vector<std::string>& notices = session_.Window().notices;
  for (const std::string& notice : notices) std::fprintf(stderr, "zelta-cli: %s\n", notice.c_str());
  notices.clear();
  return finished;
}

bool CameraLine::RunTransfer() {
  return RunUntil([this] { return !LinkBusy(State()); });
}

void CameraLine::Tick() {
  if (!showProgress_) return;
  const std::string& status = session_.Window().mainStatus;
  if (status == shownStatus_) return;
  shownStatus_ = status;
  std::fprintf(stderr, "\r\033[K%s", status.c_str());
}
