// Driver answers that a test scripts, for what a pseudo-terminal cannot show
// (a lagging transmitter flag, a failing USB request). A query left unscripted
// gets the kernel's answer; serial flags set are recorded, not applied.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/serial_driver.h"

class ScriptedDriver : public SerialDriver {
 public:
  using Clock = std::chrono::steady_clock;

  // Scripts get the milliseconds since Restart.
  std::function<int(double ms, int& bytes)> outputQueue;
  std::function<int(double ms, unsigned& lsr)> lineStatus;
  std::function<int(double ms, int& lines)> modemLines;
  std::function<int(SerialInfo& info)> serialInfo;

  void Restart() {
    const std::lock_guard<std::mutex> lock(mutex_);
    origin_ = Clock::now();
  }
  std::vector<int> FlagsSet() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return flagsSet_;
  }

  int OutputQueue(int fd, int& bytes) override {
    return outputQueue ? outputQueue(Ms(), bytes) : SerialDriver::OutputQueue(fd, bytes);
  }
  int LineStatus(int fd, unsigned& lsr) override {
    return lineStatus ? lineStatus(Ms(), lsr) : SerialDriver::LineStatus(fd, lsr);
  }
  int ModemLines(int fd, int& lines) override {
    return modemLines ? modemLines(Ms(), lines) : SerialDriver::ModemLines(fd, lines);
  }
  int GetSerialInfo(int fd, SerialInfo& info) override {
    return serialInfo ? serialInfo(info) : SerialDriver::GetSerialInfo(fd, info);
  }
  int SetSerialFlags(int, int flags) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    flagsSet_.push_back(flags);
    return 0;
  }

 private:
  double Ms() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::chrono::duration<double, std::milli>(Clock::now() - origin_).count();
  }
  mutable std::mutex mutex_;
  Clock::time_point origin_ = Clock::now();
  std::vector<int> flagsSet_;
};
