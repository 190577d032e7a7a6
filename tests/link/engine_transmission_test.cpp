// The frame send routine, the transmit-empty handler and the ProtocolSpeed sweep.
#include <gtest/gtest.h>

#include "tests/link/engine_test_support.h"

namespace {

TEST(LinkTransmission, ClosedPortSendsNothingAndTheWatchdogKeepsPolling) {
  LinkRig rig({kBaudCode9600, kProtocolPelcoD, false});
  rig.Start();
  rig.engine.ProtocolSpeedClick();
  const uint8_t ptz[7] = {0xFF, 0x01, 0x00, 0x08, 0x00, 0x20, 0x29};
  rig.engine.SendFrame(ptz, sizeof ptz);
  rig.RunUntil(Ms(2600));
  EXPECT_TRUE(rig.port.Writes().empty());
  EXPECT_TRUE(rig.port.RtsChanges().empty());
  EXPECT_TRUE(rig.port.TxEmptyTimes().empty());
  std::vector<VirtualUs> restarts;
  for (const auto& r : rig.existTimer.restarts) {
    EXPECT_EQ(r.intervalMs, 500);
    restarts.push_back(r.time);
  }
  EXPECT_EQ(restarts, (std::vector<VirtualUs>{0, Ms(500), Ms(1000), Ms(1500), Ms(2000), Ms(2500)}));
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_FALSE(rig.window.buttonsEnabled);
}

TEST(LinkTransmission, RtsDropsBeforeTheFirstByteAndEachByteIsOneWrite) {
  LinkRig rig;
  rig.Start();
  const uint8_t ptz[8] = {0xA0, 0x00, 0x00, 0x08, 0x00, 0x20, 0xAF, 0x07};
  rig.engine.SendFrame(ptz, sizeof ptz);
  ASSERT_EQ(rig.port.Frames().size(), 2u);
  EXPECT_EQ(rig.port.Frames()[0].bytes, PollBytes(1, kProtocolPelcoD));
  EXPECT_EQ(rig.port.Frames()[1].bytes, Bytes(ptz, ptz + 8));
  for (const PortWrite& w : rig.port.Writes()) EXPECT_FALSE(w.rts);
  EXPECT_EQ(rig.port.WriteCalls(), std::vector<uint32_t>(18, 1u));
  // RTS stays off until the transmit-empty handler raises it.
  ASSERT_EQ(rig.port.RtsChanges().size(), 2u);
  EXPECT_FALSE(rig.port.RtsChanges()[1].state);
  EXPECT_FALSE(rig.port.Rts());
  rig.RunFor(Ms(100));
  EXPECT_TRUE(rig.port.Rts());
}

TEST(LinkTransmission, RtsRisesAGuardTimeAfterTransmitEmpty) {
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    const LineSpeed& rate = kLineSpeeds[code];
    SCOPED_TRACE(rate.bitsPerSecond);
    LinkRig rig({code, kProtocolPelcoD, true});
    rig.Start();
    rig.RunFor(Ms(300));
    const VirtualUs drained = 10 * FakePort::ByteTime(rate.bitsPerSecond);
    ASSERT_EQ(rig.port.TxEmptyTimes(), std::vector<VirtualUs>{drained});
    ASSERT_EQ(rig.sleep.sleeps.size(), 1u);
    EXPECT_EQ(rig.sleep.sleeps[0].start, drained);
    EXPECT_EQ(rig.sleep.sleeps[0].milliseconds, rate.guardTimeMs);
    ASSERT_EQ(rig.port.RtsChanges().size(), 2u);
    EXPECT_EQ(rig.port.RtsChanges()[0].time, 0);
    EXPECT_FALSE(rig.port.RtsChanges()[0].state);
    EXPECT_EQ(rig.port.RtsChanges()[1].time, drained + Ms(rate.guardTimeMs));
    EXPECT_TRUE(rig.port.RtsChanges()[1].state);
    EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  }
  // Another speed waits nothing.
  LinkRig rig;
  rig.port.SetBaudRate(300);
  rig.engine.Comm1TxEmpty();
  EXPECT_TRUE(rig.sleep.sleeps.empty());
  EXPECT_TRUE(rig.port.Rts());
}

TEST(LinkTransmission, ProtocolSpeedSweepsEveryRateAndEndsAtTheMenuRate) {
  LinkRig rig({kBaudCode4800, kProtocolPelcoD, true});
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  const VirtualUs pressed = rig.Now();
  rig.engine.ProtocolSpeedClick();
  EXPECT_EQ(rig.engine.ProtocolSpeedStep, 0);
  rig.RunFor(Ms(1000));
  const auto& frames = rig.port.Frames();
  ASSERT_EQ(frames.size(), kLineSpeedCount);
  VirtualUs expected = pressed;
  for (size_t i = 0; i < kLineSpeedCount; ++i) {
    EXPECT_EQ(frames[i].bytes, kProtocolSpeedBytes);
    EXPECT_EQ(frames[i].baud, kLineSpeeds[i].bitsPerSecond);
    EXPECT_EQ(frames[i].time, expected);
    // The next frame follows this one's transmit-empty event and guard time.
    expected +=
        10 * FakePort::ByteTime(kLineSpeeds[i].bitsPerSecond) + Ms(kLineSpeeds[i].guardTimeMs);
  }
  EXPECT_EQ(rig.port.BaudRate(), 4800);
  EXPECT_EQ(rig.port.BaudChanges().back().time, expected);
  EXPECT_EQ(rig.engine.ProtocolSpeedStep, QamProtocol::kSweepIdle);
  // No reply is awaited and the watchdog is left alone; nothing is shown.
  EXPECT_EQ(rig.state.AwaitingReply, 0);
  EXPECT_TRUE(rig.existTimer.restarts.empty());
  EXPECT_TRUE(rig.window.statusLog.empty());
}

TEST(LinkTransmission, SweepEndsAtTheMenuRateWhenATransferStarts) {
  LinkRig rig({kBaudCode4800, kProtocolPelcoD, true});
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.engine.ProtocolSpeedClick();
  rig.engine.ReadButtonClick();
  ASSERT_EQ(rig.port.Frames().size(), 2u);
  EXPECT_EQ(rig.port.Frames()[1].bytes, ReadBytes(1, kItemDNMode));
  EXPECT_EQ(rig.port.Frames()[1].baud, 1200);
  rig.clock.RunUntil([&] { return !rig.port.TxEmptyTimes().empty(); }, rig.Now() + Ms(1000));
  EXPECT_EQ(rig.engine.ProtocolSpeedStep, QamProtocol::kSweepIdle);
  EXPECT_EQ(rig.port.BaudRate(), 4800);
  EXPECT_EQ(rig.window.mainStatus, "Read D/N MODE");
  // The read goes on at the menu's rate.
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  EXPECT_EQ(rig.window.mainStatus, "Finish");
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdProtocolSpeed).size(), 1u);
}

TEST(LinkTransmission, ProtocolSpeedIsRefusedWhileBusy) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.silent = true;
  rig.engine.ReadButtonClick();
  const size_t sent = rig.port.Frames().size();
  rig.engine.ProtocolSpeedClick();
  EXPECT_EQ(rig.port.Frames().size(), sent);
  EXPECT_EQ(rig.engine.ProtocolSpeedStep, QamProtocol::kSweepIdle);
  EXPECT_EQ(rig.port.BaudRate(), 9600);
}

}  // namespace
