#include "bench/process_figures.h"

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

double Seconds(const rusage& usage) {
  const auto tv = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return tv(usage.ru_utime) + tv(usage.ru_stime);
}

long StatusField(pid_t pid, const std::string& field) {
  const std::string path =
      pid == 0 ? "/proc/self/status" : "/proc/" + std::to_string(pid) + "/status";
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, field.size() + 1, field + ":") == 0) {
      return std::stol(line.substr(field.size() + 1));
    }
  }
  return -1;
}

}  // namespace

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Seconds(usage);
}

double ThreadCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return Seconds(usage);
}

long PeakResidentKb(pid_t pid) {
  return StatusField(pid, "VmHWM");
}

long ResidentKb(pid_t pid) {
  return StatusField(pid, "VmRSS");
}

double OtherProcessCpuSeconds(pid_t pid) {
  // Each thread's run time in nanoseconds, where the kernel keeps scheduler
  // statistics; the clock ticks of /proc/PID/stat are only 10 ms.
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  long long totalNs = 0;
  bool any = false;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::ifstream stat(task.path() / "schedstat");
    long long ns = 0;
    if (stat >> ns) {
      totalNs += ns;
      any = true;
    }
  }
  if (any) return static_cast<double>(totalNs) / 1e9;

  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(in, text)) return -1;
  // Fields after the command name, which is in parentheses and may hold blanks.
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}
