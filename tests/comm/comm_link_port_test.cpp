#include "wiring/comm_link_port.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/comm/support/comm_fixture.h"

namespace {

using CommLinkPortTest = CommFixture;

TEST_F(CommLinkPortTest, AdaptsTheComponentForTheCameraLink) {
  CommLinkPort port(comm);
  EXPECT_FALSE(port.Enabled());
  EXPECT_EQ(port.BaudRate(), 9600);
  port.SetBaudRate(2400);
  EXPECT_EQ(comm.BaudRate(), br2400);
  port.SetBaudRate(12345);  // no such rate: unchanged
  EXPECT_EQ(comm.BaudRate(), br2400);
  OpenOrFail();
  EXPECT_TRUE(port.Enabled());
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B2400));
  port.SetBaudRate(1200);
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B1200));
  EXPECT_NO_THROW(port.SetRTSState(false));
  const uint8_t frame[3] = {0xCC, 1, 2};
  EXPECT_EQ(port.Write(frame, 3), 3);
  EXPECT_EQ(pty.Read(3), (std::vector<uint8_t>{0xCC, 1, 2}));
  pty.Write({5, 6});
  uint8_t got[2] = {};
  EXPECT_EQ(port.Read(got, 2), 2);
  EXPECT_EQ(got[1], 6);
}

}  // namespace
