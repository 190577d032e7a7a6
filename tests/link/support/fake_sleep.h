// The main thread's blocking sleep on the virtual clock: time passes and
// nothing else runs meanwhile.
#pragma once

#include <vector>

#include "link/link_services.h"
#include "tests/link/support/virtual_clock.h"

class FakeSleep : public LinkSleep {
 public:
  explicit FakeSleep(VirtualClock& clock) : clock_(clock) {}
  void SleepMs(int milliseconds) override {
    sleeps.push_back({clock_.Now(), milliseconds});
    clock_.Sleep(Ms(milliseconds));
  }

  struct Entry {
    VirtualUs start;
    int milliseconds;
  };
  std::vector<Entry> sleeps;

 private:
  VirtualClock& clock_;
};
