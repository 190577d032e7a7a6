#include "bench/zelta_idle.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "bench/child_process.h"
#include "bench/fake_keyboard.h"
#include "bench/process_figures.h"
#include "bench/sim_process.h"
#include "bench/sim_trace.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// The password the measured program is started with; small letters, so the
// keys need no shift.
constexpr char kPassword[] = "bench";
constexpr int kPasswordShift = 100;
constexpr char kXvfb[] = "/usr/bin/Xvfb";

int CountPolls(const std::string& trace, long& offset) {
  int polls = 0;
  for (const SimTraceLine& line : ReadSimTrace(trace, offset)) {
    if (!line.tx && line.meaning.rfind("poll", 0) == 0) ++polls;
  }
  return polls;
}

bool WaitFor(const std::function<bool()>& done, milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return true;
}

ProgramFigures Skipped(const std::string& why) {
  ProgramFigures figures;
  figures.note = "skipped: " + why;
  return figures;
}

// A new folder under /tmp, removed with all it holds when the object goes;
// Path() is empty when none could be made.
class TempFolder {
 public:
  TempFolder() {
    char name[] = "/tmp/zelta-idle-XXXXXX";
    if (::mkdtemp(name) != nullptr) path_ = name;
  }
  ~TempFolder() {
    if (path_.empty()) return;
    std::error_code error;
    fs::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// The program's folder: the program itself (it finds its files beside its
// own executable), its help file and the password store; false when the
// program cannot be copied.
bool FillProgramFolder(const std::string& zelta, const fs::path& folder) {
  std::error_code error;
  fs::copy_file(zelta, folder / "zelta", error);
  if (error) return false;
  fs::permissions(folder / "zelta", fs::perms::owner_all, error);
  const fs::path help = fs::path(zelta).parent_path() / "ZELTAHELP.HLP";
  if (fs::exists(help)) fs::copy_file(help, folder / "ZELTAHELP.HLP", error);
  std::ofstream store(folder / "data.dat", std::ios::binary);
  for (const char c : std::string(kPassword)) store.put(static_cast<char>(c + kPasswordShift));
  return true;
}

// A display nobody else uses: keys typed on another one would reach
// someone else's windows. False when every number tried is taken.
bool FindFreeDisplay(std::string& display, std::string& socket) {
  for (int number = 70; number < 100; ++number) {
    const std::string candidate = "/tmp/.X11-unix/X" + std::to_string(number);
    const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
    if (::access(candidate.c_str(), F_OK) != 0 && ::access(lock.c_str(), F_OK) != 0) {
      display = ":" + std::to_string(number);
      socket = candidate;
      return true;
    }
  }
  return false;
}

// Whether Xvfb came up: its socket appeared and it still runs.
bool WaitForXvfb(ChildProcess& xvfb, const std::string& socket) {
  return WaitFor([&] { return ::access(socket.c_str(), F_OK) == 0 || !xvfb.Alive(); },
                 milliseconds(5000)) &&
         xvfb.Alive();
}

// Types the password into the dialog until the camera hears the program's
// first poll. The dialog comes up within a second or two; keys typed before
// it is shown are lost, so it types again.
bool PassPasswordDialog(FakeKeyboard& keyboard, const std::string& display, ChildProcess& program,
                        const std::string& trace, long& offset) {
  int polls = 0;
  std::vector<std::string> keys;
  for (const char c : std::string(kPassword)) keys.emplace_back(1, c);
  keys.emplace_back("Return");
  bool started = false;
  for (int attempt = 0; attempt < 10 && !started && program.Alive(); ++attempt) {
    std::this_thread::sleep_for(milliseconds(1500));
    keyboard.Type(display, keys);
    started = WaitFor([&] { return (polls += CountPolls(trace, offset)) > 0; }, milliseconds(1500));
  }
  return started;
}

// Lets start-up settle, then leaves the program alone for `seconds` and
// reads its CPU time, peak memory and the polls the camera saw.
ProgramFigures MeasureLeftAlone(ChildProcess& program, const std::string& trace, long& offset,
                                double seconds) {
  ProgramFigures figures;
  std::this_thread::sleep_for(milliseconds(2000));
  CountPolls(trace, offset);
  const double cpu0 = OtherProcessCpuSeconds(program.Pid());
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(milliseconds(static_cast<long>(seconds * 1000)));
  const double cpu1 = OtherProcessCpuSeconds(program.Pid());
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  figures.peakKb = PeakResidentKb(program.Pid());
  figures.polls = CountPolls(trace, offset);
  if (cpu0 < 0 || cpu1 < 0 || !program.Alive()) {
    figures.note = "not measured: zelta ended during the measurement";
    return figures;
  }
  figures.cpuMs = (cpu1 - cpu0) * 1000;
  figures.measured = true;
  return figures;
}

// The camera as Com1 at the default 4800 baud, a display of its own, the
// program on it past its password, then the measurement.
ProgramFigures MeasureInFolder(const std::string& zelta, const std::string& sim, double seconds,
                               FakeKeyboard& keyboard, const fs::path& folder) {
  SimProcess camera(sim, {"--baud", "4800", "--link", (folder / "Com1").string()});
  if (camera.WaitReady().empty()) return Skipped("zelta-camsim did not start");
  std::string display, socket;
  if (!FindFreeDisplay(display, socket)) return Skipped("no free X display number");
  ChildProcess xvfb({kXvfb, display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {},
                    (folder / "xvfb.txt").string());
  if (!WaitForXvfb(xvfb, socket)) return Skipped("Xvfb did not start on " + display);
  ChildProcess program({(folder / "zelta").string()}, {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"},
                       (folder / "zelta.txt").string());
  long offset = 0;
  if (!PassPasswordDialog(keyboard, display, program, camera.TracePath(), offset)) {
    return Skipped("zelta did not get past its password dialog (no poll reached the camera)");
  }
  ProgramFigures figures = MeasureLeftAlone(program, camera.TracePath(), offset, seconds);
  if (figures.measured) {
    figures.note = zelta + " on Xvfb " + display +
                   " (xcb), camera on Com1 at 4800 baud; CPU from " + "/proc/PID/task/*/schedstat";
  }
  return figures;
}

}  // namespace

std::string FindProgram(const std::string& preferred) {
  if (::access(preferred.c_str(), X_OK) == 0) return preferred;
  // Another build folder beside this one (build*/bin/zelta), the newest.
  std::error_code error;
  const fs::path builds = fs::path(ThisProgramFolder()).parent_path().parent_path();
  std::string best;
  fs::file_time_type bestTime{};
  for (const auto& entry : fs::directory_iterator(builds, error)) {
    if (entry.path().filename().string().rfind("build", 0) != 0) continue;
    const fs::path candidate = entry.path() / "bin" / "zelta";
    if (::access(candidate.c_str(), X_OK) != 0) continue;
    const auto time = fs::last_write_time(candidate, error);
    if (best.empty() || time > bestTime) {
      best = candidate.string();
      bestTime = time;
    }
  }
  return best;
}

ProgramFigures MeasureIdleProgram(const std::string& preferred, const std::string& sim,
                                  double seconds) {
  const std::string zelta = FindProgram(preferred);
  if (zelta.empty()) {
    return Skipped("no zelta program (looked for " + preferred + " and build*/bin/zelta)");
  }
  // It asks for its password in a modal dialog before the main window exists;
  // only a display that takes typed keys gets it past that.
  FakeKeyboard keyboard;
  if (::access(kXvfb, X_OK) != 0 || !keyboard.Usable()) {
    return Skipped(zelta +
                   " asks for its password in a modal dialog at start; passing it needs Xvfb and "
                   "libXtst, which are missing here");
  }
  const TempFolder folder;
  if (folder.Path().empty()) return Skipped("no temporary folder");
  if (!FillProgramFolder(zelta, folder.Path())) return Skipped("cannot copy " + zelta);
  return MeasureInFolder(zelta, sim, seconds, keyboard, folder.Path());
}
