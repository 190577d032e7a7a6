// The receiver and the reply acceptance rule, fed byte by byte from the port.
#include <gtest/gtest.h>

#include <random>

#include "tests/link/engine_test_support.h"

namespace {

const Bytes kPollReply = {0xCC, 0x01, 0x01, 0x01, 0x82, 0x00, 0x00, 0x00, 0x00, 0x85};

Bytes Join(const Bytes& a, const Bytes& b) {
  Bytes out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

Bytes Slice(const Bytes& b, size_t from, size_t to) {
  return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

TEST(LinkReceiver, LeadingGarbageIsSkipped) {
  LinkRig rig;
  rig.Deliver(Join({0x00}, kPollReply));
  rig.RunFor(Ms(10));
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  EXPECT_EQ(rig.window.delayLamp, LampColour::Lime);
  EXPECT_TRUE(rig.window.buttonsEnabled);
  EXPECT_EQ(rig.state.RxCount, 0);
  EXPECT_FALSE(rig.qamProtocolTimer.Active());
  EXPECT_EQ(rig.existTimer.Interval(), 3000);
}

TEST(LinkReceiver, SplitReplyIsAssembledWhileGapsStayBelow200ms) {
  LinkRig rig;
  rig.DeliverAt(Ms(0), Slice(kPollReply, 0, 3));
  rig.DeliverAt(Ms(199), Slice(kPollReply, 3, 7));
  rig.DeliverAt(Ms(398), Slice(kPollReply, 7, 10));
  rig.RunUntil(Ms(398));
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  EXPECT_TRUE(rig.qamProtocolTimer.ticks.empty());
}

TEST(LinkReceiver, GapOf250msDropsThePartialFrame) {
  LinkRig rig;
  rig.DeliverAt(Ms(0), Slice(kPollReply, 0, 4));
  rig.RunUntil(Ms(199));
  EXPECT_EQ(rig.state.RxCount, 4);
  rig.RunUntil(Ms(200));
  EXPECT_EQ(rig.qamProtocolTimer.ticks, std::vector<VirtualUs>{Ms(200)});
  EXPECT_EQ(rig.state.RxCount, 0);
  EXPECT_FALSE(rig.qamProtocolTimer.Active());
  // The rest carries no 0xCC and is ignored; only the next start byte counts.
  rig.DeliverAt(Ms(250), Slice(kPollReply, 4, 10));
  rig.RunUntil(Ms(250));
  EXPECT_EQ(rig.state.RxCount, 0);
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  rig.DeliverAt(Ms(260), kPollReply);
  rig.RunUntil(Ms(260));
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
}

TEST(LinkReceiver, OneEventCarriesTheEndOfOneFrameAndTheStartOfTheNext) {
  LinkRig rig;
  const Bytes first = ReplyBytes(1, kReplyRead, kItemDNLevel, 0);
  const Bytes second = ReplyBytes(1, kReplyRead, kItemGain, 1);
  rig.Deliver(Slice(first, 0, 6));
  rig.Deliver(Join(Slice(first, 6, 10), Slice(second, 0, 5)));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::DNLevelSel), 0);
  EXPECT_EQ(rig.state.RxCount, 5);
  EXPECT_TRUE(rig.qamProtocolTimer.Active());
  rig.Deliver(Slice(second, 5, 10));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::GainSel), 1);
  EXPECT_EQ(rig.state.RxCount, 0);
  // The buffer is cleared after each frame.
  EXPECT_EQ(Bytes(rig.state.RxFrame, rig.state.RxFrame + kFrameSize), Bytes(kFrameSize, 0));
}

TEST(LinkReceiver, StartByteInsideAFrameIsData) {
  LinkRig rig;
  const Bytes reply = ReplyBytes(1, kReplyRead, kItemId, 3, 0xCC);
  rig.Deliver(reply);
  EXPECT_EQ(rig.state.IdText[3], 0xCC);
  EXPECT_EQ(rig.state.RxCount, 0);
}

TEST(LinkReceiver, ReportsOfAnySizeAreReadInBoundedChunks) {
  LinkRig rig;
  Bytes flood(1000, 0x00);
  flood.insert(flood.end(), kPollReply.begin(), kPollReply.end());
  rig.Deliver(flood);
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  ASSERT_FALSE(rig.port.ReadRequests().empty());
  for (const uint32_t n : rig.port.ReadRequests()) EXPECT_LE(n, 64u);

  // A report larger than what is waiting ends when the port has no more.
  LinkRig other;
  other.port.Receive(kPollReply);
  other.engine.Comm1RxChar(1'000'000);
  EXPECT_EQ(other.window.lamp, LampColour::Lime);
  // A report of nothing reads nothing more.
  other.engine.Comm1RxChar(0);
  EXPECT_EQ(other.state.RxCount, 0);
}

TEST(LinkReceiver, CorruptOrForeignFramesAreDroppedAndTheWatchdogCountsAnew) {
  LinkRig rig;
  rig.Start();  // poll at 0, watchdog due at 500
  rig.camera.silent = true;
  Bytes badSum = kPollReply;
  badSum[9] ^= 1;
  Bytes badByte1 = kPollReply;
  badByte1[1] = 0x02;
  badByte1[9] = FrameChecksum(badByte1.data());
  rig.DeliverAt(Ms(100), badSum);
  rig.DeliverAt(Ms(200), badByte1);
  rig.DeliverAt(Ms(300), ReplyBytes(5, kReplyPoll));  // foreign address
  rig.DeliverAt(Ms(400), ReplyBytes(1, 0x85));        // unknown code
  rig.RunUntil(Ms(400));
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_EQ(rig.state.AwaitingReply, 1);
  EXPECT_EQ(rig.existTimer.Interval(), 500);
  EXPECT_EQ(rig.existTimer.Due(), Ms(900));
  EXPECT_TRUE(rig.existTimer.ticks.empty());
}

// One bit flipped anywhere changes the 8-bit sum by a power of two below
// 256, so the checksum never holds; a lost byte leaves nine, and the next
// bytes come only after the watchdog's next request, long after the 200 ms
// gap has dropped them. Neither reaches the panel nor moves the exchange on.
TEST(LinkReceiver, OneDamagedByteNeverMakesAnAcceptedReply) {
  const Bytes whole = {0xCC, 0x01, 0x01, 0x01, 0x81, 0x05, 0x01, 0x00, 0x00, 0x8A};
  std::vector<Bytes> damaged;
  for (size_t at = 0; at < kFrameSize; ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      damaged.push_back(whole);
      damaged.back()[at] ^= static_cast<uint8_t>(1 << bit);
    }
    damaged.push_back(whole);
    damaged.back().erase(damaged.back().begin() + static_cast<long>(at));
  }
  for (const Bytes& reply : damaged) {
    LinkRig rig;
    rig.DeliverAt(Ms(10), reply);
    rig.RunUntil(Ms(400));
    EXPECT_EQ(rig.panel.ItemIndex(PanelControl::GainSel), 0) << ::testing::PrintToString(reply);
    EXPECT_TRUE(rig.window.statusLog.empty()) << ::testing::PrintToString(reply);
    EXPECT_EQ(rig.state.RxCount, 0);
  }
  LinkRig rig;  // the whole reply is taken, even with no transfer running
  rig.DeliverAt(Ms(10), whole);
  rig.RunUntil(Ms(400));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::GainSel), 1);
  EXPECT_EQ(rig.window.mainStatus, "Finish");
}

TEST(LinkReceiver, ProtocolStateReplyIsTakenFromAnyAddress) {
  LinkRig rig;
  rig.Deliver(ReplyBytes(5, kReplyProtocolState, kBaudCode4800, kProtocolErnitec));
  EXPECT_EQ(rig.cameraAddress, 5);
  EXPECT_EQ(rig.window.hundredAdd, 0);
  EXPECT_EQ(rig.window.tenAdd, 0);
  EXPECT_EQ(rig.window.unitAdd, 5);
  EXPECT_EQ(rig.port.BaudRate(), 4800);
  EXPECT_EQ(rig.window.baudStatus, "Baud Rate : 4800");
  EXPECT_TRUE(rig.window.baudChecks[kBaudCode4800]);
  EXPECT_FALSE(rig.window.baudChecks[kBaudCode9600]);
  EXPECT_EQ(rig.window.protocolStatus, "Protocol Type : ERNITEC");
  EXPECT_EQ(rig.window.mainStatus, "Finish");
  EXPECT_EQ(rig.existTimer.Interval(), 100);
}

TEST(LinkReceiver, ProtocolStateWithUnknownCodesKeepsBaudAndProtocol) {
  LinkRig rig;
  rig.Deliver(ReplyBytes(12, kReplyProtocolState, 7, kProtocolPelcoP));
  EXPECT_EQ(rig.cameraAddress, 12);
  EXPECT_EQ(rig.port.BaudRate(), 9600);
  EXPECT_EQ(rig.window.baudStatus, "Baud Rate : 9600");
  EXPECT_EQ(rig.window.protocolStatus, "Protocol Type : PELCO P");
  // The first code without a row.
  rig.Deliver(
      ReplyBytes(13, kReplyProtocolState, kBaudCode1200, static_cast<uint8_t>(PtzProtocolCount())));
  EXPECT_EQ(rig.port.BaudRate(), 1200);
  EXPECT_EQ(rig.window.protocolStatus, "Protocol Type : PELCO P");
}

TEST(LinkReceiver, ProtocolStateKeepsAddressesOutsideTheLists) {
  LinkRig rig;
  rig.Deliver(ReplyBytes(0, kReplyProtocolState, kBaudCode9600, kProtocolPelcoD));
  EXPECT_EQ(rig.cameraAddress, 0);
  EXPECT_EQ(rig.window.hundredAdd, 0);
  EXPECT_EQ(rig.window.tenAdd, 0);
  EXPECT_EQ(rig.window.unitAdd, 0);
  rig.Deliver(ReplyBytes(250, kReplyProtocolState, kBaudCode9600, kProtocolPelcoD));
  EXPECT_EQ(rig.cameraAddress, 250);
  EXPECT_EQ(rig.window.hundredAdd, -1);
  EXPECT_EQ(rig.window.tenAdd, 5);
  EXPECT_EQ(rig.window.unitAdd, 0);
  // Polls then go to that address.
  rig.RunFor(Ms(100));
  ASSERT_FALSE(rig.port.Frames().empty());
  EXPECT_EQ(rig.port.Frames().back().bytes, PollBytes(250, kProtocolPelcoD));
}

TEST(LinkReceiver, NoiseNeverBreaksTheLinkState) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.engine.ReadButtonClick();
  std::mt19937 random(5);
  for (int event = 0; event < 2000; ++event) {
    Bytes noise(random() % 40);
    for (auto& b : noise) b = random() % 4 == 0 ? kFrameStart : static_cast<uint8_t>(random());
    rig.Deliver(noise);
    rig.RunFor(Ms(random() % 300));
    ASSERT_LE(rig.state.RxCount, kFrameSize);
    ASSERT_LT(rig.state.IdIndex, kIdLength);
    ASSERT_LE(rig.state.ReadBusy + rig.state.WriteBusy + rig.state.ProbeBusy +
                  rig.state.DelayReadBusy + rig.state.DelayWriteBusy,
              1);
  }
  // The camera is still reached once the noise stops.
  rig.RunFor(Ms(10000));
  EXPECT_FALSE(rig.engine.LinkBusy());
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
}

}  // namespace
