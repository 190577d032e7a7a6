// The serial event thread: waits for port events and hands each to the main
// thread, blocking until the main thread has dispatched it. Started by Open,
// ended at once by Close without being waited for; it frees itself (the
// running thread holds the last reference) when its thread function ends.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "comm/comm_hand_over.h"
#include "comm/comm_types.h"

class SerialDevice;
class SerialEventWait;

class TCommEventThread : public std::enable_shared_from_this<TCommEventThread> {
 public:
  using TCallback = std::function<void(TCommEventThread& Sender, uint32_t EventMask)>;

  // Creates the thread suspended and sets the device event mask to the sum of
  // the bits of events. nullptr when no thread could be made.
  static std::shared_ptr<TCommEventThread> Create(SerialDevice& device,
                                                  const TCommEventTypes& events,
                                                  uint32_t suspendTime,
                                                  std::shared_ptr<TCommHandOver> handOver);
  ~TCommEventThread();
  TCommEventThread(const TCommEventThread&) = delete;
  TCommEventThread& operator=(const TCommEventThread&) = delete;

  // Main thread: bound by Open before Start, emptied by Close.
  void SetCallback(TCallback callback);
  void ClearCallback();
  // Lets the thread run; false when it could not be started.
  bool Start();
  // Ends the thread at once; not waited for. Any thread.
  void Terminate();
  // The thread function is still running (it ends after Terminate or after
  // a handler raised an error).
  bool Running() const { return running_.load(); }
  uint32_t SuspendTime() const { return suspendTime_; }

 private:
  TCommEventThread(std::shared_ptr<SerialEventWait> wait, uint32_t suspendTime,
                   std::shared_ptr<TCommHandOver> handOver);
  void Execute();
  // Runs on the main thread inside the hand-over.
  void Dispatch(uint32_t events);

  std::shared_ptr<SerialEventWait> wait_;
  const uint32_t suspendTime_;
  std::shared_ptr<TCommHandOver> handOver_;
  std::mutex callbackMutex_;
  TCallback callback_;
  std::atomic<bool> running_{false};
  std::atomic<bool> handlerFailed_{false};
};
