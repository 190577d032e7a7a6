#include "tests/link/support/virtual_clock.h"

#include <algorithm>

VirtualClock::EventId VirtualClock::At(VirtualUs time, Action action) {
  const EventId id = nextId_++;
  queue_.emplace(std::make_pair(time, id), std::move(action));
  times_.emplace(id, time);
  return id;
}

void VirtualClock::Cancel(EventId id) {
  const auto it = times_.find(id);
  if (it == times_.end()) return;
  queue_.erase(std::make_pair(it->second, id));
  times_.erase(it);
}

bool VirtualClock::Step() {
  if (queue_.empty()) return false;
  auto first = queue_.begin();
  now_ = std::max(now_, first->first.first);
  Action action = std::move(first->second);
  times_.erase(first->first.second);
  queue_.erase(first);
  action();
  return true;
}

void VirtualClock::RunUntil(VirtualUs time) {
  while (!queue_.empty() && queue_.begin()->first.first <= time) Step();
  now_ = std::max(now_, time);
}

bool VirtualClock::RunUntil(const std::function<bool()>& done, VirtualUs limit) {
  while (!done()) {
    if (queue_.empty() || queue_.begin()->first.first > limit) {
      now_ = std::max(now_, limit);
      return done();
    }
    Step();
  }
  return true;
}

VirtualUs VirtualClock::NextDue() const {
  return queue_.empty() ? -1 : queue_.begin()->first.first;
}
