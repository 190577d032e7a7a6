#include "ui/main_window/control_hand_over.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <mutex>

// Shared between the waiting event thread and the queued call, which may run
// after the hand-over object itself is gone.
struct TQtCommHandOver::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool tornDown = false;
};

namespace {

struct Pending {
  bool finished = false;
};

// Marks the call finished however it ends, also by an exception, so the event
// thread never waits for a call that will not finish.
class FinishGuard {
 public:
  FinishGuard(std::mutex& mutex, std::condition_variable& changed, Pending& pending)
      : mutex_(mutex), changed_(changed), pending_(pending) {}
  ~FinishGuard() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      pending_.finished = true;
    }
    changed_.notify_all();
  }
  FinishGuard(const FinishGuard&) = delete;
  FinishGuard& operator=(const FinishGuard&) = delete;

 private:
  std::mutex& mutex_;
  std::condition_variable& changed_;
  Pending& pending_;
};

}  // namespace

TQtCommHandOver::TQtCommHandOver(QObject* receiver)
    : shared_(std::make_shared<Shared>()), receiver_(receiver) {}

TQtCommHandOver::~TQtCommHandOver() {
  TearDown();
}

void TQtCommHandOver::TearDown() {
  {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->tornDown = true;
  }
  shared_->changed.notify_all();
}

void TQtCommHandOver::Synchronize(const std::function<void()>& call) {
  const std::shared_ptr<Shared> shared = shared_;
  const auto pending = std::make_shared<Pending>();
  {
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (shared->tornDown || !receiver_) return;
    if (receiver_->thread() == QThread::currentThread()) {
      // Already on the GUI thread: queuing would wait for ourselves.
      lock.unlock();
      call();
      return;
    }
    QMetaObject::invokeMethod(
        receiver_.data(),
        [shared, pending, call] {
          FinishGuard guard(shared->mutex, shared->changed, *pending);
          {
            const std::lock_guard<std::mutex> stateLock(shared->mutex);
            if (shared->tornDown) return;
          }
          call();
        },
        Qt::QueuedConnection);
    shared->changed.wait(lock, [&] { return pending->finished || shared->tornDown; });
  }
}
