#include "headless/main_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

using std::chrono::milliseconds;

// Stands in for the serial event thread: hands one call over and notes when
// the hand-over returned.
class Caller {
 public:
  Caller(MainLoop& loop, std::function<void()> call)
      : thread_([this, &loop, call = std::move(call)] {
          loop.Synchronize(call);
          returned = true;
        }) {}
  ~Caller() { thread_.join(); }
  std::atomic<bool> returned{false};

 private:
  std::thread thread_;
};

TEST(MainLoop, RunsAHandOverOnItsThreadAndReleasesTheCallerAfterIt) {
  MainLoop loop;
  std::thread::id ranOn;
  bool ran = false;
  {
    Caller caller(loop, [&] {
      ranOn = std::this_thread::get_id();
      ran = true;
    });
    ASSERT_TRUE(loop.RunUntil([&] { return ran; }, milliseconds(2000)));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
  }
  EXPECT_EQ(loop.HandOvers(), 1);
}

TEST(MainLoop, HandlerExceptionReachesTheRunnerAndReleasesTheCaller) {
  MainLoop loop;
  Caller caller(loop, [] { throw std::runtime_error("handler"); });
  EXPECT_THROW(loop.RunUntil([] { return false; }, milliseconds(2000)), std::runtime_error);
  // The caller was released although its call did not finish.
  for (int i = 0; i < 200 && !caller.returned; ++i) std::this_thread::sleep_for(milliseconds(5));
  EXPECT_TRUE(caller.returned);
}

TEST(MainLoop, HandlerErrorSinkReportsAndGoesOn) {
  MainLoop loop;
  std::vector<std::string> errors;
  loop.onHandlerError = [&](const std::exception& error) { errors.push_back(error.what()); };
  int ticks = 0;
  MainLoop::Timer timer(loop, [&] {
    ++ticks;
    throw std::runtime_error("tick");
  });
  timer.Restart(1);
  EXPECT_TRUE(loop.RunUntil([&] { return ticks >= 2; }, milliseconds(2000)));
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors.front(), "tick");
}

TEST(MainLoop, ShutdownReleasesAWaitingCallerWithoutRunningItsCall) {
  MainLoop loop;
  bool ran = false;
  {
    Caller caller(loop, [&] { ran = true; });
    // Nobody runs the loop: the caller waits until the loop is torn down.
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_FALSE(caller.returned);
    loop.Shutdown();
  }
  EXPECT_FALSE(ran);
  // Later hand-overs return at once.
  loop.Synchronize([&] { ran = true; });
  EXPECT_FALSE(ran);
}

TEST(MainLoop, TimersStopAndStartAnew) {
  MainLoop loop;
  int ticks = 0;
  MainLoop::Timer timer(loop, [&] { ++ticks; });
  EXPECT_FALSE(timer.Active());
  timer.Restart(5);
  EXPECT_TRUE(timer.Active());
  EXPECT_EQ(timer.Interval(), 5);
  ASSERT_TRUE(loop.RunUntil([&] { return ticks == 2; }, milliseconds(2000)));
  EXPECT_TRUE(timer.Active());  // a window timer keeps running
  timer.Stop();
  loop.RunFor(milliseconds(30));
  EXPECT_EQ(ticks, 2);
  {
    // A timer that goes away while started is forgotten by the loop.
    MainLoop::Timer gone(loop, [&] { ++ticks; });
    gone.Restart(1);
  }
  loop.RunFor(milliseconds(20));
  EXPECT_EQ(ticks, 2);
}

}  // namespace
