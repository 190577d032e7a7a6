#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/comm/support/comm_fixture.h"

namespace {

using CommEvents = CommFixture;
using CommDispatch = CommFixture;

TEST_F(CommEvents, RxCharOnTheMainThreadWithTheWaitingCount) {
  std::vector<uint32_t> counts;
  std::vector<uint8_t> got;
  bool otherThread = false;
  const auto main = std::this_thread::get_id();
  comm.OnRxChar = [&](TThreadComm& Sender, uint32_t Count) {
    EXPECT_EQ(&Sender, &comm);
    otherThread |= std::this_thread::get_id() != main;
    counts.push_back(Count);
    std::vector<uint8_t> buf(Count);
    EXPECT_EQ(Sender.Read(buf.data(), Count), static_cast<int32_t>(Count));
    got.insert(got.end(), buf.begin(), buf.end());
  };
  OpenOrFail();
  pty.Write({0xCC, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 10; }));
  EXPECT_FALSE(otherThread);
  EXPECT_EQ(got.front(), 0xCC);
  uint32_t sum = 0;
  for (uint32_t c : counts) sum += c;
  EXPECT_EQ(sum, 10u);
}

TEST_F(CommEvents, BytesLeftUnreadAreOfferedAgainOnlyWithTheNextArrival) {
  std::vector<uint32_t> counts;
  comm.OnRxChar = [&](TThreadComm&, uint32_t Count) { counts.push_back(Count); };
  OpenOrFail();
  pty.Write({1, 2, 3});
  ASSERT_TRUE(PumpUntil([&] { return !counts.empty() && counts.back() == 3; }));
  const size_t events = counts.size();
  handOver->PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(counts.size(), events) << "unread bytes raised another event";
  // The terminal wakes its readers on every settings change.
  comm.SetBaudRate(br1200);
  handOver->PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(counts.size(), events) << "a settings change offered the bytes again";
  pty.Write({4});
  ASSERT_TRUE(PumpUntil([&] { return counts.back() == 4; }));
}

TEST_F(CommEvents, BytesArrivingDuringAHandlerAreReportedTogetherAtOnce) {
  std::vector<uint32_t> counts;
  comm.OnRxChar = [&](TThreadComm& Sender, uint32_t Count) {
    counts.push_back(Count);
    std::vector<uint8_t> buf(Count);
    Sender.Read(buf.data(), Count);
    if (counts.size() == 1) {
      pty.Write({2, 3, 4});
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  };
  OpenOrFail();
  pty.Write({1});
  ASSERT_TRUE(PumpUntil([&] { return counts.size() >= 2; }));
  EXPECT_EQ(counts[0], 1u);
  EXPECT_EQ(counts[1], 3u);
}

TEST_F(CommEvents, TxEmptyOnceAfterAWrite) {
  int empties = 0;
  comm.OnTxEmpty = [&](TThreadComm&) { ++empties; };
  OpenOrFail();
  const uint8_t frame[10] = {0xCC, 1, 0, 1, 0, 0, 0, 0, 0, 0xCE};
  EXPECT_EQ(comm.Write(frame, 10), 10);
  ASSERT_TRUE(PumpUntil([&] { return empties == 1; }));
  handOver->PumpFor(std::chrono::milliseconds(60));
  EXPECT_EQ(empties, 1);
  EXPECT_EQ(pty.Read(10).size(), 10u);
}

TEST_F(CommEvents, TxEmptyComesNoSoonerThanTheLineTimeOfTheBytes) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point emptied{};
  comm.OnTxEmpty = [&](TThreadComm&) { emptied = Clock::now(); };
  comm.SetBaudRate(br1200);  // 8.3 ms a byte
  OpenOrFail();
  const uint8_t frame[10] = {};
  // One call for the frame, then one call a byte as the send routine writes:
  // the line time adds up across the calls.
  for (const uint32_t perCall : {10u, 1u}) {
    SCOPED_TRACE(perCall);
    emptied = {};
    const auto start = Clock::now();
    for (uint32_t at = 0; at < 10; at += perCall) comm.Write(frame + at, perCall);
    ASSERT_TRUE(PumpUntil([&] { return emptied != Clock::time_point{}; }));
    EXPECT_GE(emptied - start, std::chrono::milliseconds(80));
  }
}

TEST_F(CommEvents, TxEmptyAtNineThousandSixHundredIsNotLate) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point emptied{};
  comm.OnTxEmpty = [&](TThreadComm&) { emptied = Clock::now(); };
  OpenOrFail();
  const uint8_t frame[10] = {};
  const auto lineTime = std::chrono::microseconds(10417);
  std::vector<double> lateMs;
  for (int i = 0; i < 9; ++i) {
    emptied = {};
    const auto start = Clock::now();
    for (const uint8_t& byte : frame) comm.Write(&byte, 1);
    ASSERT_TRUE(PumpUntil([&] { return emptied != Clock::time_point{}; }));
    lateMs.push_back(std::chrono::duration<double, std::milli>(emptied - start - lineTime).count());
    pty.Read(10);
  }
  std::sort(lateMs.begin(), lateMs.end());
  // Two character times, as where the driver's flag lags.
  EXPECT_LT(lateMs[lateMs.size() / 2], 2.1);
}

TEST_F(CommEvents, ComStatEventFollowsEveryEventWithTheRawBits) {
  std::vector<uint32_t> statuses;
  comm.OnComStatEvent = [&](TThreadComm&, uint32_t Status, TComStat) {
    statuses.push_back(Status);
  };
  OpenOrFail();
  comm.Write("x", 1);
  ASSERT_TRUE(PumpUntil([&] { return !statuses.empty(); }));
  EXPECT_EQ(statuses.front() & 0x0004u, 0x0004u);
}

TEST_F(CommEvents, MonitorEventsLimitsTheEventsReported) {
  std::vector<uint32_t> statuses;
  comm.OnComStatEvent = [&](TThreadComm&, uint32_t Status, TComStat) {
    statuses.push_back(Status);
  };
  comm.SetMonitorEvents({evRxChar});
  OpenOrFail();
  comm.Write("x", 1);
  handOver->PumpFor(std::chrono::milliseconds(50));
  EXPECT_TRUE(statuses.empty());
  pty.Write({1});
  ASSERT_TRUE(PumpUntil([&] { return !statuses.empty(); }));
  EXPECT_EQ(statuses.front(), 0x0001u);
}

// Dispatch on its own: one mask with every bit, called as the hand-over would.
TEST_F(CommDispatch, HandlersRunInTheFixedOrderWithinOneEvent) {
  std::string order;
  comm.OnBreak = [&](TThreadComm&) { order += "Break "; };
  comm.OnCts = [&](TThreadComm&) { order += "Cts "; };
  comm.OnDsr = [&](TThreadComm&) { order += "Dsr "; };
  comm.OnError = [&](TThreadComm&, int32_t) { order += "Error "; };
  comm.OnRing = [&](TThreadComm&) { order += "Ring "; };
  comm.OnRlsd = [&](TThreadComm&) { order += "Rlsd "; };
  comm.OnRxChar = [&](TThreadComm& Sender, uint32_t Count) {
    order += "RxChar" + std::to_string(Count) + " ";
    uint8_t buf[2];
    Sender.Read(buf, Count);  // the status record was read before any handler
  };
  comm.OnRxFlag = [&](TThreadComm&) { order += "RxFlag "; };
  comm.OnTxEmpty = [&](TThreadComm&) { order += "TxEmpty "; };
  TComStat seen;
  comm.OnComStatEvent = [&](TThreadComm&, uint32_t Status, TComStat ComStat) {
    order += "ComStat" + std::to_string(Status);
    seen = ComStat;
  };
  comm.SetMonitorEvents({});  // the thread reports nothing by itself
  OpenOrFail();
  pty.Write({1, 2});
  ASSERT_TRUE(PumpUntil([&] { return comm.InQueCount() == 2; }));
  comm.HandleCommEvent(*comm.EventThread(), 0x01FF);
  EXPECT_EQ(order, "Break Cts Dsr Error Ring Rlsd RxChar2 RxFlag TxEmpty ComStat511");
  EXPECT_EQ(seen.cbInQue, 2u);
}

TEST_F(CommDispatch, ReceiveWithAnEmptyQueueCallsNoRxCharButComStat) {
  int rx = 0;
  int stat = 0;
  comm.OnRxChar = [&](TThreadComm&, uint32_t) { ++rx; };
  comm.OnComStatEvent = [&](TThreadComm&, uint32_t, TComStat) { ++stat; };
  comm.SetMonitorEvents({});
  OpenOrFail();
  comm.HandleCommEvent(*comm.EventThread(), 0x0001);
  EXPECT_EQ(rx, 0);
  EXPECT_EQ(stat, 1);
}

TEST_F(CommDispatch, ReceiveBeforeTransmitEmptyInOneMask) {
  std::string order;
  comm.OnRxChar = [&](TThreadComm&, uint32_t) { order += "R"; };
  comm.OnTxEmpty = [&](TThreadComm&) { order += "T"; };
  comm.SetMonitorEvents({});
  OpenOrFail();
  pty.Write({9});
  ASSERT_TRUE(PumpUntil([&] { return comm.InQueCount() == 1; }));
  comm.HandleCommEvent(*comm.EventThread(), 0x0005);
  EXPECT_EQ(order, "RT");
}

// The far end goes (an adapter unplugged): the main thread hears it once; the
// port stays open, and a rate set on the way out raises nothing.
TEST_F(CommEvents, AGoneDeviceIsToldOnce) {
  int gone = 0;
  comm.OnGone = [&](TThreadComm& Sender) { gone += Sender.Gone() ? 1 : 100; };
  OpenOrFail();
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return gone > 0; }));
  EXPECT_NO_THROW(comm.SetBaudRate(br1200));
  handOver->PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(gone, 1);
  EXPECT_TRUE(comm.Enabled());
  comm.Close();
  EXPECT_FALSE(comm.Gone());
  // Where its owner waits for it to come back.
  EXPECT_EQ(comm.OpenedPath(), pty.SlavePath());
}

}  // namespace
