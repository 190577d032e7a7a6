// A main thread without a window: runs timer ticks and the serial component's
// hand-overs in order on the thread that calls Run*, for programs that drive
// the camera link with the real serial component but no display.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "comm/comm_hand_over.h"
#include "link/link_services.h"

class MainLoop : public TCommHandOver {
 public:
  using Clock = std::chrono::steady_clock;

  MainLoop() = default;
  ~MainLoop() override;
  MainLoop(const MainLoop&) = delete;
  MainLoop& operator=(const MainLoop&) = delete;

  // A window timer: periodic, and Start on a running timer starts its
  // interval anew, as the window's timers do.
  class Timer : public LinkTimer {
   public:
    Timer(MainLoop& loop, std::function<void()> onTick);
    ~Timer() override;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    void Restart(int intervalMs) override;
    void Start() override;
    void Stop() override;
    bool Active() const override { return active_; }
    int Interval() const override { return intervalMs_; }

   private:
    friend class MainLoop;
    MainLoop& loop_;
    std::function<void()> onTick_;
    bool active_ = false;
    int intervalMs_ = 0;
    Clock::time_point due_{};
  };

  class Sleep : public LinkSleep {
   public:
    void SleepMs(int milliseconds) override;
  };

  // Called on the serial event thread: runs `call` on the loop's thread and
  // returns once it has run, or at once without running it after Shutdown.
  void Synchronize(const std::function<void()>& call) override;

  // Runs ticks and hand-overs until `done` returns true or the time is up.
  // Returns `done()`. A handler's exception ends the run and reaches the
  // caller; the event thread that handed the call over is released first.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  void RunFor(std::chrono::milliseconds duration);

  // Releases every blocked caller without running its call; later hand-overs
  // return at once. Idempotent.
  void Shutdown();

  // When set, an exception out of a tick or a hand-over is given to it and
  // the loop goes on, as the program's window loop reports it and goes on.
  std::function<void(const std::exception&)> onHandlerError;

  // Hand-overs run so far (a measure of the event traffic).
  long HandOvers() const { return handOvers_; }

 private:
  struct Call {
    std::function<void()> call;
    bool done = false;
  };
  void RunDueTimers();
  Clock::time_point NextDue(Clock::time_point limit) const;
  void Finish(Call& call);
  void Guarded(const std::function<void()>& handler);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<std::shared_ptr<Call>> calls_;
  bool shutdown_ = false;
  std::thread::id runner_{};
  std::vector<Timer*> timers_;
  long handOvers_ = 0;
};
