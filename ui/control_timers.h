// The camera link's timers and sleep on Qt: a window timer on the main
// thread, and a real millisecond sleep of the calling thread.
#pragma once

#include "link/link_services.h"

class QTimer;

class TLinkTimer : public LinkTimer {
 public:
  explicit TLinkTimer(QTimer& timer) : timer_(timer) {}

  void Restart(int intervalMs) override;
  void Start() override;
  void Stop() override;
  bool Active() const override;
  int Interval() const override;

 private:
  QTimer& timer_;
};

class TLinkSleep : public LinkSleep {
 public:
  void SleepMs(int milliseconds) override;
};
