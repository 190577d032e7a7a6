#include "bench/sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string ThisProgramFolder() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string text(path, static_cast<size_t>(n));
  const size_t slash = text.rfind('/');
  return slash == std::string::npos ? "." : text.substr(0, slash);
}

std::string SimProgramBesideThis() {
  return ThisProgramFolder() + "/zelta-camsim";
}

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& options) {
  char folder[] = "/tmp/zelta-sim-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return;
  folder_ = folder;
  output_ = folder_ + "/output.txt";
  trace_ = folder_ + "/trace.txt";

  std::vector<std::string> args = {program};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back("--trace");
  args.push_back(trace_);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const int out = ::open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (out < 0) return;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    std::perror("exec zelta-camsim");
    ::_exit(127);
  }
  ::close(out);
  pid_ = pid;
}

SimProcess::~SimProcess() {
  Stop();
  if (!folder_.empty()) {
    ::unlink(output_.c_str());
    ::unlink(trace_.c_str());
    ::rmdir(folder_.c_str());
  }
}

const std::string& SimProcess::WaitReady(std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (path_.empty() && pid_ > 0 && std::chrono::steady_clock::now() < end) {
    const std::string text = ReadWhole(output_);
    const std::string mark = "ready on ";
    const size_t at = text.find(mark);
    const size_t eol = text.find('\n', at);
    if (at != std::string::npos && eol != std::string::npos) {
      const std::string rest = text.substr(at + mark.size(), eol - at - mark.size());
      path_ = rest.substr(0, rest.find(' '));
      break;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return path_;
}

bool SimProcess::Stop() {
  if (pid_ <= 0) return true;
  ::kill(pid_, SIGTERM);
  int status = 0;
  const bool ended = ::waitpid(pid_, &status, 0) == pid_;
  pid_ = -1;
  return ended;
}

std::string SimProcess::Output() const {
  return ReadWhole(output_);
}
