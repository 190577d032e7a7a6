#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/comm/support/comm_fixture.h"

namespace {

using CommClose = CommFixture;
using CommHangUp = CommFixture;
using namespace std::chrono_literals;

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

TEST_F(CommClose, CloseWithAHandOverInFlightRunsNoHandler) {
  int handled = 0;
  comm.OnRxChar = [&](TThreadComm&, uint32_t) { ++handled; };
  comm.OnComStatEvent = [&](TThreadComm&, uint32_t, TComStat) { ++handled; };
  OpenOrFail();
  pty.Write({1, 2, 3});
  // The event thread is now blocked in the hand-over; Close must not wait for it.
  ASSERT_TRUE(handOver->WaitQueued(2000ms));
  comm.Close();
  EXPECT_FALSE(comm.Enabled());
  handOver->PumpFor(50ms);
  EXPECT_EQ(handled, 0);
}

TEST_F(CommClose, NewOpenAfterADroppedEventDeliversAgain) {
  int handled = 0;
  comm.OnRxChar = [&](TThreadComm& Sender, uint32_t Count) {
    uint8_t buf[16];
    Sender.Read(buf, Count);
    ++handled;
  };
  OpenOrFail();
  pty.Write({1});
  ASSERT_TRUE(handOver->WaitQueued(2000ms));
  comm.Close();
  OpenOrFail();
  pty.Write({2});
  EXPECT_TRUE(PumpUntil([&] { return handled >= 1; }));
}

TEST_F(CommClose, CloseEndsTheThreadAtOnceAndItFreesItself) {
  OpenOrFail();
  const std::weak_ptr<TCommEventThread> thread = comm.EventThread();
  comm.Close();
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (!thread.expired() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(thread.expired());
}

TEST_F(CommClose, DestroyingAnOpenComponentClosesIt) {
  std::weak_ptr<TCommEventThread> thread;
  {
    TComm local(handOver);
    local.SetDeviceName(pty.SlavePath());
    local.Open();
    ASSERT_TRUE(local.Enabled());
    thread = local.EventThread();
  }
  TComm again(handOver);
  again.SetDeviceName(pty.SlavePath());
  again.Open();
  EXPECT_TRUE(again.Enabled());
  EXPECT_TRUE(PumpUntil([&] { return thread.expired(); }));
}

TEST_F(CommClose, HandlerErrorEndsTheThreadButNotThePort) {
  int calls = 0;
  comm.OnRxChar = [&](TThreadComm& Sender, uint32_t Count) {
    ++calls;
    uint8_t buf[16];
    Sender.Read(buf, Count);
    throw std::runtime_error("handler failed");
  };
  OpenOrFail();
  const auto thread = comm.EventThread();
  pty.Write({1});
  ASSERT_NO_THROW(ASSERT_TRUE(PumpUntil([&] { return calls == 1; })));
  ASSERT_TRUE(PumpUntil([&] { return !thread->Running(); }));
  EXPECT_TRUE(comm.Enabled());
  pty.Write({2});
  handOver->PumpFor(50ms);
  EXPECT_EQ(calls, 1) << "event after the thread ended";
  EXPECT_EQ(comm.Write("x", 1), 1);
  comm.Close();
  comm.OnRxChar = [&](TThreadComm&, uint32_t) { ++calls; };
  OpenOrFail();
  pty.Write({3});
  EXPECT_TRUE(PumpUntil([&] { return calls == 2; }));
}

TEST_F(CommHangUp, OpenHealthyPortIsIdle) {
  OpenOrFail();
  handOver->PumpFor(50ms);
  const double before = CpuSeconds();
  std::this_thread::sleep_for(1000ms);
  EXPECT_LT(CpuSeconds() - before, 0.02) << "the event thread wakes while nothing happens";
}

TEST_F(CommHangUp, FarEndClosedLeavesTheProcessIdle) {
  int events = 0;
  comm.OnComStatEvent = [&](TThreadComm&, uint32_t, TComStat) { ++events; };
  OpenOrFail();
  pty.CloseMaster();
  handOver->PumpFor(50ms);  // the hang-up itself may raise one event
  const int afterHangUp = events;
  const double before = CpuSeconds();
  handOver->PumpFor(1000ms);
  const double used = CpuSeconds() - before;
  EXPECT_LT(used, 0.25) << "a thread spins on the hung-up port";
  EXPECT_LE(events - afterHangUp, 0);
  // The port stays open for its owner; transfers fail fast.
  EXPECT_TRUE(comm.Enabled());
  uint8_t b = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_LE(comm.Read(&b, 1), 0);
  EXPECT_LE(comm.Write(&b, 1), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
  comm.Close();
  EXPECT_FALSE(comm.Enabled());
}

}  // namespace
