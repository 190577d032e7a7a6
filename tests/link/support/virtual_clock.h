// A virtual clock with an event queue: the test's stand-in for the main
// thread's message loop. Time is in microseconds and moves only when told.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

using VirtualUs = int64_t;

constexpr VirtualUs Ms(int64_t ms) {
  return ms * 1000;
}

class VirtualClock {
 public:
  using Action = std::function<void()>;
  using EventId = uint64_t;

  VirtualUs Now() const { return now_; }

  // Queues an action; actions due at the same time run in the order queued.
  EventId At(VirtualUs time, Action action);
  EventId After(VirtualUs delay, Action action) { return At(now_ + delay, std::move(action)); }
  void Cancel(EventId id);
  bool Pending(EventId id) const { return times_.count(id) != 0; }

  // A blocking sleep of the main thread: time passes, nothing runs; what
  // fell due meanwhile runs late, once the handler has returned.
  void Sleep(VirtualUs duration) { now_ += duration; }

  // Runs the next queued action (late actions run at the current time).
  // False when the queue is empty.
  bool Step();
  // Runs every action due up to `time`, then sets the clock to `time`.
  void RunUntil(VirtualUs time);
  void RunFor(VirtualUs duration) { RunUntil(now_ + duration); }
  // Runs actions until `done` holds or `limit` is reached; true if it held.
  bool RunUntil(const std::function<bool()>& done, VirtualUs limit);
  // Time of the next queued action, or -1.
  VirtualUs NextDue() const;

 private:
  VirtualUs now_ = 0;
  EventId nextId_ = 1;
  std::map<std::pair<VirtualUs, EventId>, Action> queue_;
  std::map<EventId, VirtualUs> times_;
};
