#include "comm/comm_event_thread.h"

#include <chrono>
#include <system_error>
#include <thread>

#include "platform/serial_device.h"
#include "platform/serial_event_wait.h"

namespace {

// A wait that fails is not retried at once: that would spin a core.
constexpr auto kFailedWaitPause = std::chrono::milliseconds(20);

}  // namespace

std::shared_ptr<TCommEventThread> TCommEventThread::Create(
    SerialDevice& device, const TCommEventTypes& events, uint32_t suspendTime,
    std::shared_ptr<TCommHandOver> handOver) {
  if (!handOver) return nullptr;
  int error = 0;
  auto wait = device.CreateEventWait(error);
  if (!wait) return nullptr;
  device.SetEventMask(CommEventMask(events));
  return std::shared_ptr<TCommEventThread>(
      new TCommEventThread(std::move(wait), suspendTime, std::move(handOver)));
}

TCommEventThread::TCommEventThread(std::shared_ptr<SerialEventWait> wait, uint32_t suspendTime,
                                   std::shared_ptr<TCommHandOver> handOver)
    : wait_(std::move(wait)), suspendTime_(suspendTime), handOver_(std::move(handOver)) {}

TCommEventThread::~TCommEventThread() = default;

void TCommEventThread::SetCallback(TCallback callback) {
  const std::lock_guard<std::mutex> lock(callbackMutex_);
  callback_ = std::move(callback);
}

void TCommEventThread::ClearCallback() {
  const std::lock_guard<std::mutex> lock(callbackMutex_);
  callback_ = nullptr;
}

bool TCommEventThread::Start() {
  running_.store(true);
  try {
    // The running thread holds this object until its function ends.
    std::thread([self = shared_from_this()] { self->Execute(); }).detach();
  } catch (const std::system_error&) {
    running_.store(false);
    return false;
  }
  return true;
}

void TCommEventThread::Terminate() {
  wait_->Stop();
}

void TCommEventThread::Execute() {
  for (;;) {
    uint32_t events = 0;
    const SerialEventWait::Result result = wait_->Wait(events);
    if (result == SerialEventWait::Result::Stopped) break;
    if (result == SerialEventWait::Result::Failed) {
      std::this_thread::sleep_for(kFailedWaitPause);
      continue;
    }
    handOver_->Synchronize([self = shared_from_this(), events] { self->Dispatch(events); });
    // A handler's error ends the thread; the port stays open without events.
    if (handlerFailed_.load()) break;
  }
  running_.store(false);
}

void TCommEventThread::Dispatch(uint32_t events) {
  TCallback callback;
  {
    const std::lock_guard<std::mutex> lock(callbackMutex_);
    callback = callback_;
  }
  // Emptied by Close: the event is dropped.
  if (!callback) return;
  try {
    callback(*this, events);
  } catch (...) {
    handlerFailed_.store(true);
  }
}
