// The link's clock on the real, monotonic clock, for the whole-line tools
// run without a window.
#pragma once

#include <chrono>

#include "link/link_services.h"

class SteadyLinkClock : public LinkClock {
 public:
  int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};
