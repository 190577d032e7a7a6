// Runs the real zelta-camsim for a test and talks to it over its
// pseudo-terminal the way ZELTA does: raw, at a chosen speed.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <cstdint>
#include <string>
#include <vector>

class TSimProcess {
 public:
  explicit TSimProcess(const std::vector<std::string>& args);
  TSimProcess(const TSimProcess&) = delete;
  TSimProcess& operator=(const TSimProcess&) = delete;
  ~TSimProcess();

  // The next standard output line (after the last one matched) holding
  // `text`; empty when none comes within the time.
  std::string WaitForLine(const std::string& text, int timeoutMs = 3000);
  // The slave path from the ready line.
  std::string ReadyPath();
  // Sends SIGTERM and returns the exit status.
  int Stop();
  // Waits for the program to end on its own; -1 on time-out.
  int WaitForExit(int timeoutMs = 3000);
  std::string ErrorText() const { return errors_; }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  void Pump(int timeoutMs);

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string partial_;
  std::string errors_;
  std::vector<std::string> lines_;
  size_t next_ = 0;
};

class TPtyClient {
 public:
  TPtyClient(const std::string& path, speed_t speed);
  TPtyClient(const TPtyClient&) = delete;
  TPtyClient& operator=(const TPtyClient&) = delete;
  ~TPtyClient();

  bool IsOpen() const { return fd_ >= 0; }
  void SetSpeed(speed_t speed);
  void Send(const std::vector<uint8_t>& bytes);
  // One frame: skips bytes up to 0xCC, then ten bytes; empty on time-out.
  std::vector<uint8_t> ReadFrame(int timeoutMs = 2000);
  // Whatever arrives within `waitMs`.
  std::vector<uint8_t> ReadFor(int waitMs);

 private:
  int fd_ = -1;
};

// Path of the executable under test.
std::string CamSimPath();
