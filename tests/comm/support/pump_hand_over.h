// A hand-over for tests: the event thread queues its call and blocks; the
// test's own main thread runs queued calls with Pump.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "comm/comm_hand_over.h"

class PumpHandOver : public TCommHandOver {
 public:
  using Clock = std::chrono::steady_clock;

  ~PumpHandOver() override { Shutdown(); }

  void Synchronize(const std::function<void()>& call) override;

  // Main thread: runs queued calls until pred() holds or timeout passed;
  // returns pred().
  bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
  // Main thread: runs queued calls for the whole duration.
  void PumpFor(std::chrono::milliseconds duration);
  // Waits (without running anything) until a call is queued.
  bool WaitQueued(std::chrono::milliseconds timeout);
  int Queued();
  // Releases every blocked caller without running its call.
  void Shutdown();

 private:
  struct Item {
    std::function<void()> call;
    bool done = false;
  };
  // Runs at most one queued call; false when none was waiting until deadline.
  bool RunOne(Clock::time_point deadline);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Item>> queue_;
  bool shutdown_ = false;
};
