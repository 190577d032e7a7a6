#include "tests/comm/support/pump_hand_over.h"

#include <algorithm>

void PumpHandOver::Synchronize(const std::function<void()>& call) {
  auto item = std::make_shared<Item>();
  item->call = call;
  std::unique_lock<std::mutex> lock(mutex_);
  if (shutdown_) return;
  queue_.push_back(item);
  changed_.notify_all();
  changed_.wait(lock, [&] { return item->done || shutdown_; });
}

bool PumpHandOver::RunOne(Clock::time_point deadline) {
  std::shared_ptr<Item> item;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_until(lock, deadline, [&] { return !queue_.empty(); })) return false;
    item = queue_.front();
    queue_.pop_front();
  }
  item->call();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    item->done = true;
  }
  changed_.notify_all();
  return true;
}

bool PumpHandOver::PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (!pred()) {
    if (Clock::now() >= deadline) return false;
    // Short slices so that pred() is looked at again soon.
    RunOne(std::min(deadline, Clock::now() + std::chrono::milliseconds(5)));
  }
  return true;
}

void PumpHandOver::PumpFor(std::chrono::milliseconds duration) {
  const Clock::time_point deadline = Clock::now() + duration;
  while (Clock::now() < deadline) RunOne(deadline);
}

bool PumpHandOver::WaitQueued(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
}

int PumpHandOver::Queued() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(queue_.size());
}

void PumpHandOver::Shutdown() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    shutdown_ = true;
    queue_.clear();
  }
  changed_.notify_all();
}
