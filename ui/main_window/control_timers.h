// The camera link's timers and sleep on Qt: a window timer on the main
// thread, and a real millisecond sleep of the calling thread.
#pragma once

#include "link/link_services.h"

class QTimer;

class TLinkTimer : public LinkTimer {
 public:
  // Makes the timer precise: a coarse one may fire up to 5 % early, which
  // would cut a reply short or repeat a request the camera is still answering.
  explicit TLinkTimer(QTimer& timer);

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
