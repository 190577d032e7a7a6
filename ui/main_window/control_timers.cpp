#include "ui/main_window/control_timers.h"

#include <QThread>
#include <QTimer>

TLinkTimer::TLinkTimer(QTimer& timer) : timer_(timer) {
  timer_.setTimerType(Qt::PreciseTimer);
}

void TLinkTimer::Restart(int intervalMs) {
  timer_.stop();
  timer_.setInterval(intervalMs);
  timer_.start();
}

void TLinkTimer::Start() {
  timer_.start();
}

void TLinkTimer::Stop() {
  timer_.stop();
}

bool TLinkTimer::Active() const {
  return timer_.isActive();
}

int TLinkTimer::Interval() const {
  return timer_.interval();
}

void TLinkSleep::SleepMs(int milliseconds) {
  if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}
