#include "tests/sim/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::string CamSimPath() {
  return ZELTA_CAMSIM_PATH;
}

TSimProcess::TSimProcess(const std::vector<std::string>& args) {
  int out[2];
  int err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    std::vector<std::string> all = {CamSimPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  out_ = out[0];
  err_ = err[0];
  ::fcntl(out_, F_SETFL, O_NONBLOCK);
  ::fcntl(err_, F_SETFL, O_NONBLOCK);
}

TSimProcess::~TSimProcess() {
  if (pid_ > 0) Stop();
  if (out_ >= 0) ::close(out_);
  if (err_ >= 0) ::close(err_);
}

void TSimProcess::Pump(int timeoutMs) {
  pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
  if (::poll(fds, 2, timeoutMs) <= 0) return;
  char buffer[4096];
  ssize_t count = 0;
  while ((count = ::read(out_, buffer, sizeof buffer)) > 0) {
    partial_.append(buffer, static_cast<size_t>(count));
  }
  while ((count = ::read(err_, buffer, sizeof buffer)) > 0) {
    errors_.append(buffer, static_cast<size_t>(count));
  }
  for (size_t end = partial_.find('\n'); end != std::string::npos; end = partial_.find('\n')) {
    lines_.push_back(partial_.substr(0, end));
    partial_.erase(0, end + 1);
  }
}

std::string TSimProcess::WaitForLine(const std::string& text, int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (; next_ < lines_.size(); ++next_) {
      if (lines_[next_].find(text) != std::string::npos) return lines_[next_++];
    }
    if (MsLeft(end) == 0 || pid_ <= 0) return {};
    Pump(std::min(MsLeft(end), 50));
  }
}

std::string TSimProcess::ReadyPath() {
  const std::string marker = "ready on ";
  const std::string line = WaitForLine(marker);
  if (line.empty()) return {};
  const size_t start = line.find(marker) + marker.size();
  return line.substr(start, line.find(' ', start) - start);
}

int TSimProcess::WaitForExit(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (pid_ > 0) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      Pump(0);
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (MsLeft(end) == 0) return -1;
    Pump(10);
  }
  return -1;
}

int TSimProcess::Stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  const int status = WaitForExit(3000);
  if (status < 0 && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  return status;
}

TPtyClient::TPtyClient(const std::string& path, speed_t speed) {
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ >= 0) SetSpeed(speed);
}

TPtyClient::~TPtyClient() {
  if (fd_ >= 0) ::close(fd_);
}

void TPtyClient::SetSpeed(speed_t speed) {
  termios settings{};
  ::tcgetattr(fd_, &settings);
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  ::cfsetispeed(&settings, speed);
  ::cfsetospeed(&settings, speed);
  ::tcsetattr(fd_, TCSANOW, &settings);
}

void TPtyClient::Send(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (written <= 0) return;
    done += static_cast<size_t>(written);
  }
}

std::vector<uint8_t> TPtyClient::ReadFrame(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<uint8_t> frame;
  while (frame.size() < 10) {
    pollfd fd = {fd_, POLLIN, 0};
    if (::poll(&fd, 1, MsLeft(end)) <= 0) return {};
    uint8_t byte = 0;
    if (::read(fd_, &byte, 1) != 1) continue;
    if (frame.empty() && byte != 0xCC) continue;
    frame.push_back(byte);
  }
  return frame;
}

std::vector<uint8_t> TPtyClient::ReadFor(int waitMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(waitMs);
  std::vector<uint8_t> bytes;
  for (;;) {
    pollfd fd = {fd_, POLLIN, 0};
    if (::poll(&fd, 1, MsLeft(end)) <= 0) return bytes;
    uint8_t buffer[256];
    const ssize_t count = ::read(fd_, buffer, sizeof buffer);
    if (count > 0) bytes.insert(bytes.end(), buffer, buffer + count);
  }
}
