#include "bench/zelta_idle.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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

// A child process with its output in a file, ended with SIGTERM.
class Child {
 public:
  Child(const std::vector<std::string>& args, const std::vector<std::string>& environment,
        const std::string& output) {
    std::vector<std::string> a = args;
    std::vector<char*> argv;
    for (std::string& arg : a) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    pid_ = ::fork();
    if (pid_ == 0) {
      for (const std::string& setting : environment) {
        const size_t equals = setting.find('=');
        ::setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
      }
      if (out >= 0) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    if (out >= 0) ::close(out);
  }
  ~Child() { Stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t Pid() const { return pid_; }
  bool Alive() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) pid_ = -1;
    return pid_ > 0;
  }
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 100 && Alive(); ++i) std::this_thread::sleep_for(milliseconds(20));
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
      pid_ = -1;
    }
  }

 private:
  pid_t pid_ = -1;
};

// The few X calls needed to type into a window, loaded at run time so the
// benchmark needs no X headers or libraries to build.
class FakeKeyboard {
 public:
  FakeKeyboard() {
    x11_ = ::dlopen("libX11.so.6", RTLD_NOW);
    xtst_ = ::dlopen("libXtst.so.6", RTLD_NOW);
    if (x11_ == nullptr || xtst_ == nullptr) return;
    open_ = reinterpret_cast<OpenFn>(::dlsym(x11_, "XOpenDisplay"));
    close_ = reinterpret_cast<CloseFn>(::dlsym(x11_, "XCloseDisplay"));
    flush_ = reinterpret_cast<CloseFn>(::dlsym(x11_, "XFlush"));
    keysym_ = reinterpret_cast<KeysymFn>(::dlsym(x11_, "XStringToKeysym"));
    keycode_ = reinterpret_cast<KeycodeFn>(::dlsym(x11_, "XKeysymToKeycode"));
    width_ = reinterpret_cast<SizeFn>(::dlsym(x11_, "XDisplayWidth"));
    height_ = reinterpret_cast<SizeFn>(::dlsym(x11_, "XDisplayHeight"));
    key_ = reinterpret_cast<KeyFn>(::dlsym(xtst_, "XTestFakeKeyEvent"));
    motion_ = reinterpret_cast<MotionFn>(::dlsym(xtst_, "XTestFakeMotionEvent"));
  }
  ~FakeKeyboard() {
    if (xtst_ != nullptr) ::dlclose(xtst_);
    if (x11_ != nullptr) ::dlclose(x11_);
  }
  FakeKeyboard(const FakeKeyboard&) = delete;
  FakeKeyboard& operator=(const FakeKeyboard&) = delete;

  bool Usable() const {
    return open_ && close_ && flush_ && keysym_ && keycode_ && width_ && height_ && key_ && motion_;
  }

  // Points at the middle of the screen (where the dialog is centred) and
  // types the keys, by X key names.
  bool Type(const std::string& display, const std::vector<std::string>& keys) {
    void* d = open_(display.c_str());
    if (d == nullptr) return false;
    motion_(d, 0, width_(d, 0) / 2, height_(d, 0) / 2, 0);
    for (const std::string& name : keys) {
      const unsigned char code = keycode_(d, keysym_(name.c_str()));
      key_(d, code, 1, 0);
      key_(d, code, 0, 0);
    }
    flush_(d);
    close_(d);
    return true;
  }

 private:
  using OpenFn = void* (*)(const char*);
  using CloseFn = int (*)(void*);
  using KeysymFn = unsigned long (*)(const char*);
  using KeycodeFn = unsigned char (*)(void*, unsigned long);
  using SizeFn = int (*)(void*, int);
  using KeyFn = int (*)(void*, unsigned int, int, unsigned long);
  using MotionFn = int (*)(void*, int, int, int, unsigned long);
  void* x11_ = nullptr;
  void* xtst_ = nullptr;
  OpenFn open_ = nullptr;
  CloseFn close_ = nullptr;
  CloseFn flush_ = nullptr;
  KeysymFn keysym_ = nullptr;
  KeycodeFn keycode_ = nullptr;
  SizeFn width_ = nullptr;
  SizeFn height_ = nullptr;
  KeyFn key_ = nullptr;
  MotionFn motion_ = nullptr;
};

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
  ProgramFigures figures;
  const std::string zelta = FindProgram(preferred);
  if (zelta.empty()) {
    figures.note = "skipped: no zelta program (looked for " + preferred + " and build*/bin/zelta)";
    return figures;
  }
  // It asks for its password in a modal dialog before the main window exists;
  // only a display that takes typed keys gets it past that.
  FakeKeyboard keyboard;
  if (::access(kXvfb, X_OK) != 0 || !keyboard.Usable()) {
    figures.note = "skipped: " + zelta +
                   " asks for its password in a modal dialog at start; passing it needs Xvfb and "
                   "libXtst, which are missing here";
    return figures;
  }

  char name[] = "/tmp/zelta-idle-XXXXXX";
  if (::mkdtemp(name) == nullptr) {
    figures.note = "skipped: no temporary folder";
    return figures;
  }
  const fs::path folder = name;
  struct Cleanup {
    fs::path folder;
    ~Cleanup() {
      std::error_code error;
      fs::remove_all(folder, error);
    }
  } cleanup{folder};

  // The program's folder: the program itself (it finds its files beside its
  // own executable), the password store, and the camera as Com1 at the
  // default 4800 baud.
  std::error_code error;
  fs::copy_file(zelta, folder / "zelta", error);
  if (error) {
    figures.note = "skipped: cannot copy " + zelta;
    return figures;
  }
  fs::permissions(folder / "zelta", fs::perms::owner_all, error);
  const fs::path help = fs::path(zelta).parent_path() / "ZELTAHELP.HLP";
  if (fs::exists(help)) fs::copy_file(help, folder / "ZELTAHELP.HLP", error);
  {
    std::ofstream store(folder / "data.dat", std::ios::binary);
    for (const char c : std::string(kPassword)) store.put(static_cast<char>(c + kPasswordShift));
  }
  SimProcess camera(sim, {"--baud", "4800", "--link", (folder / "Com1").string()});
  if (camera.WaitReady().empty()) {
    figures.note = "skipped: zelta-camsim did not start";
    return figures;
  }

  // A display nobody else uses: keys typed on another one would reach
  // someone else's windows.
  std::string display, socket;
  for (int number = 70; number < 100 && display.empty(); ++number) {
    const std::string candidate = "/tmp/.X11-unix/X" + std::to_string(number);
    const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
    if (::access(candidate.c_str(), F_OK) != 0 && ::access(lock.c_str(), F_OK) != 0) {
      display = ":" + std::to_string(number);
      socket = candidate;
    }
  }
  if (display.empty()) {
    figures.note = "skipped: no free X display number";
    return figures;
  }
  Child xvfb({kXvfb, display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {},
             (folder / "xvfb.txt").string());
  if (!WaitFor([&] { return ::access(socket.c_str(), F_OK) == 0 || !xvfb.Alive(); },
               milliseconds(5000)) ||
      !xvfb.Alive()) {
    figures.note = "skipped: Xvfb did not start on " + display;
    return figures;
  }
  Child program({(folder / "zelta").string()}, {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"},
                (folder / "zelta.txt").string());
  // The dialog comes up within a second or two; keys typed before it is
  // shown are lost, so type again until the camera hears the first poll.
  long offset = 0;
  int polls = 0;
  std::vector<std::string> keys;
  for (const char c : std::string(kPassword)) keys.emplace_back(1, c);
  keys.emplace_back("Return");
  bool started = false;
  for (int attempt = 0; attempt < 10 && !started && program.Alive(); ++attempt) {
    std::this_thread::sleep_for(milliseconds(1500));
    keyboard.Type(display, keys);
    started = WaitFor([&] { return (polls += CountPolls(camera.TracePath(), offset)) > 0; },
                      milliseconds(1500));
  }
  if (!started) {
    figures.note =
        "skipped: zelta did not get past its password dialog (no poll reached the "
        "camera)";
    return figures;
  }
  // Let start-up settle, then leave it alone.
  std::this_thread::sleep_for(milliseconds(2000));
  CountPolls(camera.TracePath(), offset);
  const double cpu0 = OtherProcessCpuSeconds(program.Pid());
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(milliseconds(static_cast<long>(seconds * 1000)));
  const double cpu1 = OtherProcessCpuSeconds(program.Pid());
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  figures.peakKb = PeakResidentKb(program.Pid());
  figures.polls = CountPolls(camera.TracePath(), offset);
  if (cpu0 < 0 || cpu1 < 0 || !program.Alive()) {
    figures.note = "not measured: zelta ended during the measurement";
    return figures;
  }
  figures.cpuMs = (cpu1 - cpu0) * 1000;
  figures.measured = true;
  figures.note = zelta + " on Xvfb " + display + " (xcb), camera on Com1 at 4800 baud; CPU from " +
                 "/proc/PID/task/*/schedstat";
  return figures;
}
