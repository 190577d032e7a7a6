// The hand-over of a serial event from the event thread to the main thread.
// The window implements it with a queued blocking call on the GUI thread;
// tests implement it with a queue that their own main thread pumps.
#pragma once

#include <functional>

class TCommHandOver {
 public:
  virtual ~TCommHandOver() = default;
  // Called on the event thread: runs call on the main thread and blocks until
  // it ran. An implementation torn down while a caller is blocked must
  // release that caller without running the call.
  virtual void Synchronize(const std::function<void()>& call) = 0;
};
