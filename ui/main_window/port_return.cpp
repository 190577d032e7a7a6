#include "ui/main_window/port_return.h"

#include <QSocketNotifier>

#include "platform/device_watch.h"

PortReturn::PortReturn(std::function<void()> back, QObject* parent)
    : QObject(parent), back_(std::move(back)) {
  check_.setInterval(kCheckMs);
  connect(&check_, &QTimer::timeout, this, [this] { Check(); });
}

PortReturn::~PortReturn() = default;

void PortReturn::Watch(const std::string& path) {
  Stop();
  watch_ = std::make_unique<DeviceWatch>(path);
  if (watch_->Descriptor() >= 0) {
    notifier_ = std::make_unique<QSocketNotifier>(watch_->Descriptor(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
      watch_->Drain();
      Check();
    });
  }
  check_.start();
  // It may be back already.
  Check();
}

void PortReturn::Stop() {
  check_.stop();
  // Stop may come from the notifier's own signal: it goes once that is over.
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_.release()->deleteLater();
  }
  watch_.reset();
}

void PortReturn::Check() {
  if (watch_ && watch_->Present()) back_();
}
