// A window timer on the virtual clock: fires its handler every interval while
// active; Restart runs the full interval anew.
#pragma once

#include <functional>
#include <vector>

#include "link/link_services.h"
#include "tests/link/support/virtual_clock.h"

class FakeTimer : public LinkTimer {
 public:
  explicit FakeTimer(VirtualClock& clock, int intervalMs = 1000)
      : clock_(clock), interval_(intervalMs) {}
  ~FakeTimer() override { Stop(); }
  FakeTimer(const FakeTimer&) = delete;
  FakeTimer& operator=(const FakeTimer&) = delete;

  void Restart(int intervalMs) override;
  void Start() override;
  void Stop() override;
  bool Active() const override { return active_; }
  int Interval() const override { return interval_; }

  // When the next tick is due, or -1 when stopped.
  VirtualUs Due() const { return active_ ? due_ : -1; }

  // The handler the owner binds (the engine's ExistTimerTimer, ...).
  std::function<void()> onTimer;
  // Every tick, with its time.
  std::vector<VirtualUs> ticks;
  // Every Restart, with its time and interval.
  struct RestartEntry {
    VirtualUs time;
    int intervalMs;
  };
  std::vector<RestartEntry> restarts;

 private:
  void Schedule();
  void Fire();

  VirtualClock& clock_;
  int interval_;
  bool active_ = false;
  VirtualUs due_ = 0;
  VirtualClock::EventId event_ = 0;
};
