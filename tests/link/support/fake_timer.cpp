#include "tests/link/support/fake_timer.h"

void FakeTimer::Restart(int intervalMs) {
  Stop();
  interval_ = intervalMs;
  restarts.push_back({clock_.Now(), intervalMs});
  Start();
}

void FakeTimer::Start() {
  if (active_) return;
  active_ = true;
  Schedule();
}

void FakeTimer::Stop() {
  if (!active_) return;
  active_ = false;
  clock_.Cancel(event_);
}

void FakeTimer::Schedule() {
  due_ = clock_.Now() + Ms(interval_);
  event_ = clock_.At(due_, [this] { Fire(); });
}

void FakeTimer::Fire() {
  // Periodic: the next tick is due one interval after this one runs.
  Schedule();
  ticks.push_back(clock_.Now());
  if (onTimer) onTimer();
}
