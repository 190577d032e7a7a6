#include "headless/main_loop.h"

#include <algorithm>

MainLoop::~MainLoop() {
  Shutdown();
}

MainLoop::Timer::Timer(MainLoop& loop, std::function<void()> onTick)
    : loop_(loop), onTick_(std::move(onTick)) {
  loop_.timers_.push_back(this);
}

MainLoop::Timer::~Timer() {
  auto& timers = loop_.timers_;
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void MainLoop::Timer::Restart(int intervalMs) {
  intervalMs_ = intervalMs;
  Start();
}

void MainLoop::Timer::Start() {
  active_ = true;
  due_ = Clock::now() + std::chrono::milliseconds(intervalMs_);
}

void MainLoop::Timer::Stop() {
  active_ = false;
}

void MainLoop::Sleep::SleepMs(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void MainLoop::Synchronize(const std::function<void()>& call) {
  auto pending = std::make_shared<Call>();
  pending->call = call;
  std::unique_lock<std::mutex> lock(mutex_);
  if (shutdown_) return;
  if (runner_ == std::this_thread::get_id()) {
    // Already on the loop's thread: queuing would wait for itself.
    lock.unlock();
    call();
    return;
  }
  calls_.push_back(pending);
  wake_.notify_one();
  finished_.wait(lock, [&] { return pending->done; });
}

void MainLoop::Shutdown() {
  const std::lock_guard<std::mutex> lock(mutex_);
  shutdown_ = true;
  for (const auto& call : calls_) call->done = true;
  calls_.clear();
  finished_.notify_all();
}

void MainLoop::Finish(Call& call) {
  const std::lock_guard<std::mutex> lock(mutex_);
  call.done = true;
  finished_.notify_all();
}

void MainLoop::Guarded(const std::function<void()>& handler) {
  if (!onHandlerError) return handler();
  try {
    handler();
  } catch (const std::exception& error) {
    onHandlerError(error);
  }
}

void MainLoop::RunDueTimers() {
  const Clock::time_point now = Clock::now();
  // By index: a tick may start or stop timers, but never adds or removes one.
  for (size_t i = 0; i < timers_.size(); ++i) {
    Timer* timer = timers_[i];
    if (timer->active_ && timer->due_ <= now) {
      // A window timer keeps running: the next tick is one interval later.
      timer->due_ = now + std::chrono::milliseconds(timer->intervalMs_);
      Guarded(timer->onTick_);
    }
  }
}

MainLoop::Clock::time_point MainLoop::NextDue(Clock::time_point limit) const {
  Clock::time_point next = limit;
  for (const Timer* timer : timers_) {
    if (timer->active_) next = std::min(next, timer->due_);
  }
  return next;
}

bool MainLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    runner_ = std::this_thread::get_id();
  }
  struct RunnerReset {
    MainLoop& loop;
    ~RunnerReset() {
      const std::lock_guard<std::mutex> lock(loop.mutex_);
      loop.runner_ = std::thread::id();
    }
  } runnerReset{*this};

  while (!done()) {
    if (Clock::now() >= end) return false;
    std::shared_ptr<Call> next;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait_until(lock, NextDue(end), [&] { return !calls_.empty(); });
      if (!calls_.empty()) {
        next = calls_.front();
        calls_.pop_front();
      }
    }
    if (next) {
      // Released however the call ends, so an exception never leaves the
      // event thread waiting.
      struct Release {
        MainLoop& loop;
        Call& call;
        ~Release() { loop.Finish(call); }
      } release{*this, *next};
      ++handOvers_;
      Guarded(next->call);
    }
    RunDueTimers();
  }
  return true;
}

void MainLoop::RunFor(std::chrono::milliseconds duration) {
  RunUntil([] { return false; }, duration);
}
