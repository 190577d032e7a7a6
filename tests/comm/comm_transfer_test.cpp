#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/comm/support/comm_fixture.h"

namespace {

using CommTransfer = CommFixture;
using Bytes = std::vector<uint8_t>;

TEST_F(CommTransfer, BytesGoBothWaysUnchanged) {
  OpenOrFail();
  // Bytes a cooked terminal or software flow control would alter or eat.
  const Bytes out = {0xCC, 0x11, 0x13, 0x0D, 0x0A, 0x03, 0x7F, 0x00, 0xFF, 0x04};
  EXPECT_EQ(comm.Write(out.data(), static_cast<uint32_t>(out.size())), 10);
  EXPECT_EQ(pty.Read(out.size()), out);
  EXPECT_TRUE(pty.Drain(std::chrono::milliseconds(20)).empty()) << "echo";

  const Bytes in = {0x81, 0x0D, 0x11, 0x13, 0x00, 0x0A, 0x1A, 0x03, 0x1C, 0xFE};
  pty.Write(in);
  Bytes got(in.size());
  EXPECT_EQ(comm.Read(got.data(), static_cast<uint32_t>(got.size())), 10);
  EXPECT_EQ(got, in);
}

TEST_F(CommTransfer, ClosedPortReturnsMinusOne) {
  uint8_t b = 0;
  EXPECT_EQ(comm.Write(&b, 1), -1);
  EXPECT_EQ(comm.Read(&b, 1), -1);
  EXPECT_EQ(comm.InQueCount(), -1);
  EXPECT_EQ(comm.OutQueCount(), -1);
  EXPECT_NO_THROW(comm.PurgeIn());
  EXPECT_NO_THROW(comm.PurgeOut());
}

TEST_F(CommTransfer, ReadOfZeroReturnsZeroAndQueueCountsAreReported) {
  OpenOrFail();
  uint8_t b = 0;
  EXPECT_EQ(comm.Read(&b, 0), 0);
  pty.Write({1, 2, 3});
  ASSERT_TRUE(PumpUntil([&] { return comm.InQueCount() == 3; }));
  EXPECT_EQ(comm.OutQueCount(), 0);
  comm.PurgeIn();
  EXPECT_EQ(comm.InQueCount(), 0);
}

TEST_F(CommTransfer, ShortReadEndsAfterTheReadTimeOutWithWhatArrived) {
  OpenOrFail();
  pty.Write({7, 8});
  uint8_t buf[5] = {};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(comm.Read(buf, 5), 2);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(995)) << "read gave up before its time-out";
  EXPECT_LT(took, std::chrono::seconds(3)) << "read not bounded";
  EXPECT_EQ(buf[0], 7);
  EXPECT_EQ(buf[1], 8);
}

TEST_F(CommTransfer, ReadCollectsBytesThatArriveDuringTheRead) {
  OpenOrFail();
  pty.Write({1});
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    pty.Write({2, 3});
  });
  uint8_t buf[3] = {};
  EXPECT_EQ(comm.Read(buf, 3), 3);
  late.join();
  EXPECT_EQ(buf[2], 3);
}

TEST_F(CommTransfer, LargeWriteWaitsForTheFarEndInsteadOfFailing) {
  OpenOrFail();
  // The write time-out (2 ms a byte at the speed of Open) is plenty for this reader.
  const Bytes big(20000, 0x55);
  std::vector<uint8_t> got;
  std::thread reader([&] { got = pty.Read(big.size(), std::chrono::seconds(5)); });
  EXPECT_EQ(comm.Write(big.data(), static_cast<uint32_t>(big.size())), 20000);
  reader.join();
  EXPECT_EQ(got.size(), big.size());
}

}  // namespace

namespace {

TEST_F(CommTransfer, BytesLeftFromBeforeTheOpeningAreNotDelivered) {
  // A late reply to the port's last owner waits in the line.
  pty.Write({0xCC, 0x01, 0x01});
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  OpenOrFail();
  pty.Write({0x42});
  uint8_t got = 0;
  EXPECT_EQ(comm.Read(&got, 1), 1);
  EXPECT_EQ(got, 0x42);
  EXPECT_EQ(comm.InQueCount(), 0);
}

}  // namespace
