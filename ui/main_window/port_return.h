// Waits for the port's device to come back after it has gone: the folder
// watch wakes it when a name appears, and a slow check catches what the
// watch cannot see (no inotify, a node not yet open to this user). Nothing
// runs while no device is awaited.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

// What the status bar shows while the port's device is away.
inline constexpr char kPortAwayText[] = "Adapter unplugged";

class DeviceWatch;
class QSocketNotifier;

class PortReturn : public QObject {
  Q_OBJECT

 public:
  // `back` runs each time the device is there again, until Stop; it may
  // find the device not yet usable and leave the waiting on.
  PortReturn(std::function<void()> back, QObject* parent);
  ~PortReturn() override;

  void Watch(const std::string& path);
  void Stop();
  bool Waiting() const { return watch_ != nullptr; }

  // The slow check, in ms.
  static constexpr int kCheckMs = 1000;

 private:
  void Check();

  std::function<void()> back_;
  std::unique_ptr<DeviceWatch> watch_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer check_;
};
