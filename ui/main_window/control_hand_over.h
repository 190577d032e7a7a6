// The serial events' way onto the GUI thread: the event thread queues each
// call to an object living in the GUI thread and blocks until it ran. Tearing
// the hand-over down releases a blocked event thread without running its
// call, and later calls return at once, so closing the window never waits
// for the event thread.
#pragma once

#include <QPointer>
#include <memory>

#include "comm/comm_hand_over.h"

class QObject;

class TQtCommHandOver : public TCommHandOver {
 public:
  // receiver: any object of the GUI thread; calls are queued to it.
  explicit TQtCommHandOver(QObject* receiver);
  ~TQtCommHandOver() override;

  void Synchronize(const std::function<void()>& call) override;
  // GUI thread, before the receiver goes away.
  void TearDown();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  QPointer<QObject> receiver_;
};
