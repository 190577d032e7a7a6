// The watchdog: its intervals, the silent camera, failing transfers and the
// Get Protocol State search, on the virtual clock.
#include <gtest/gtest.h>

#include "link/qam_intervals.h"
#include "tests/link/engine_test_support.h"

namespace {

// Interval of the watchdog restart made at exactly `time`, or -1.
int RestartAt(const FakeTimer& timer, VirtualUs time) {
  int interval = -1;
  for (const auto& r : timer.restarts) {
    if (r.time == time) interval = r.intervalMs;
  }
  return interval;
}

// Time at which the lamp last turned to a colour.
VirtualUs LampTime(const FakeWindow& window, LampColour colour) {
  VirtualUs time = -1;
  for (const auto& e : window.lampLog) {
    if (e.colour == colour) time = e.time;
  }
  return time;
}

TEST(LinkWatchdog, IntervalAfterEveryKindOfRequest) {
  LinkRig rig;
  rig.camera.silent = true;
  rig.Start();  // poll
  EXPECT_EQ(RestartAt(rig.existTimer, 0), 500);
  rig.state.AwaitingReply = 0;
  rig.engine.ReadButtonClick();  // read request
  EXPECT_EQ(rig.existTimer.restarts.size(), 2u);
  EXPECT_EQ(rig.existTimer.restarts.back().intervalMs, 500);
  rig.state.ReadBusy = 0;
  rig.state.AwaitingReply = 0;
  rig.engine.WriteButtonClick();  // write of D/N MODE
  EXPECT_EQ(rig.existTimer.restarts.back().intervalMs, 500);
  EXPECT_EQ(rig.existTimer.Due(), Ms(500));
  rig.state.WriteBusy = 0;
  rig.state.AwaitingReply = 0;
  rig.engine.GetRS422SETS1Click();  // Get Protocol State
  EXPECT_EQ(rig.existTimer.restarts.back().intervalMs, 500);
  rig.state.ProbeBusy = 0;
  rig.engine.RestartWatchdog();  // PTZ and OSD buttons
  EXPECT_EQ(rig.existTimer.restarts.back().intervalMs, 500);
  EXPECT_EQ(rig.state.AwaitingReply, 1);  // left alone by the PTZ restart
}

TEST(LinkWatchdog, WhiteBalanceWriteWaits4000ms) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.script = [](const Bytes& req) -> std::optional<Bytes> {
    if (req[4] == kCmdWrite && req[5] == kItemWhiteBal) return Bytes{};  // never answers
    return std::nullopt;
  };
  rig.engine.WriteButtonClick();
  ASSERT_TRUE(rig.clock.RunUntil([&] { return rig.camera.Heard(kCmdWrite, kItemWhiteBal) > 0; },
                                 rig.Now() + Ms(2000)));
  const auto writes = FrameTimes(rig.port.Frames(), kCmdWrite);
  const VirtualUs sent = writes.back();
  EXPECT_EQ(RestartAt(rig.existTimer, sent), 4000);
  EXPECT_EQ(rig.existTimer.Due(), sent + Ms(4000));
}

TEST(LinkWatchdog, RepliesSetTheirIntervals) {
  {  // Poll reply, link idle: 3000 ms.
    LinkRig rig;
    ASSERT_TRUE(rig.StartLinked());
    const VirtualUs r = LampTime(rig.window, LampColour::Lime);
    EXPECT_EQ(RestartAt(rig.existTimer, r), 3000);
  }
  {  // Poll reply while a transfer waits for its first request: 100 ms.
    LinkRig rig;
    rig.Start();
    rig.engine.WriteButtonClick();  // poll outstanding: waits for the tick
    EXPECT_EQ(rig.port.Frames().size(), 1u);
    rig.clock.RunUntil([&] { return rig.window.lamp == LampColour::Lime; }, Ms(500));
    const VirtualUs r = rig.Now();
    EXPECT_EQ(RestartAt(rig.existTimer, r), 100);
    rig.RunUntil(r + Ms(100));
    ASSERT_EQ(rig.port.Frames().size(), 2u);
    EXPECT_EQ(rig.port.Frames()[1].time, r + Ms(100));
    EXPECT_EQ(rig.port.Frames()[1].bytes, WriteBytes(1, kItemDNMode, 0));
  }
  {  // Last reply of a transfer: 3000 ms. Protocol state reply: 100 ms.
    LinkRig rig;
    ASSERT_TRUE(rig.StartLinked());
    rig.engine.ReadImageDelayClick();
    ASSERT_TRUE(rig.RunUntilIdle(Ms(1000)));
    EXPECT_EQ(RestartAt(rig.existTimer, rig.Now()), 3000);
    rig.Deliver(ReplyBytes(1, kReplyProtocolState, kBaudCode9600, kProtocolPelcoD));
    EXPECT_EQ(RestartAt(rig.existTimer, rig.Now()), 100);
  }
}

TEST(LinkWatchdog, SilentCameraTurnsTheLampRedOnTheFourthTick) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  const VirtualUs r = LampTime(rig.window, LampColour::Lime);
  rig.camera.silent = true;
  rig.ClearRecords();
  rig.RunUntil(r + Ms(4500) - 1);
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  EXPECT_TRUE(rig.window.buttonsEnabled);
  rig.RunUntil(r + Ms(4500));
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_EQ(rig.window.delayLamp, LampColour::Red);
  EXPECT_FALSE(rig.window.buttonsEnabled);
  EXPECT_TRUE(rig.window.statusLog.empty());  // idle: no text
  // Polls: after 3 s, three repeats, and on every tick after.
  rig.RunUntil(r + Ms(5500));
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdPoll),
            (std::vector<VirtualUs>{r + Ms(3000), r + Ms(3500), r + Ms(4000), r + Ms(4500),
                                    r + Ms(5000), r + Ms(5500)}));
  for (const auto& f : rig.port.Frames()) EXPECT_EQ(f.bytes, PollBytes(1, kProtocolPelcoD));
}

TEST(LinkWatchdog, AnAnsweringIdleCameraStaysLime) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.RunFor(Ms(5 * (kIdleWatchdogMs + 100)));
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdPoll).size(), 5u);
  EXPECT_TRUE(rig.window.lampLog.empty());
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
}

TEST(LinkWatchdog, ReadCameraFailsTwoSecondsAfterTheLastReplyAndPollsInTheSameTick) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  int answered = 0;
  rig.camera.script = [&](const Bytes& req) -> std::optional<Bytes> {
    if (req[4] != kCmdRead) return std::nullopt;
    if (++answered <= 3) return std::nullopt;
    rig.camera.silent = true;  // dead from the fourth item on
    return Bytes{};
    return std::nullopt;
  };
  rig.ClearRecords();
  rig.engine.ReadButtonClick();
  rig.RunFor(Ms(3000));
  const auto& frames = rig.port.Frames();
  ASSERT_GE(frames.size(), 8u);
  // The fourth request went out right on the last accepted reply.
  const VirtualUs last = frames[3].time;
  for (size_t i = 3; i < 7; ++i) {
    EXPECT_EQ(frames[i].bytes, ReadBytes(1, kItemShutter));
    EXPECT_EQ(frames[i].time, last + Ms(500) * static_cast<VirtualUs>(i - 3));
  }
  EXPECT_EQ(frames[7].time, last + Ms(2000));
  EXPECT_EQ(frames[7].bytes, PollBytes(1, kProtocolPelcoD));
  EXPECT_EQ(LastStatusTime(rig.window, StatusPanel::Main, "READ ERROR.."), last + Ms(2000));
  EXPECT_EQ(LampTime(rig.window, LampColour::Red), last + Ms(2000));
  EXPECT_EQ(rig.state.ReadBusy, 0);
  EXPECT_FALSE(rig.window.buttonsEnabled);
  EXPECT_EQ(rig.window.mainStatus, "READ ERROR..");

  // The next Read starts again at the first item with ID position 0.
  rig.camera.script = nullptr;
  rig.ClearRecords();
  rig.state.AwaitingReply = 0;
  rig.engine.ReadButtonClick();
  ASSERT_FALSE(rig.port.Frames().empty());
  EXPECT_EQ(rig.port.Frames()[0].bytes, ReadBytes(1, kItemDNMode));
  EXPECT_EQ(rig.state.IdIndex, 0);
}

TEST(LinkWatchdog, UnansweredWhiteBalanceWriteFailsAfter16Seconds) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.script = [](const Bytes& req) -> std::optional<Bytes> {
    if (req[4] == kCmdWrite && req[5] == kItemWhiteBal) return Bytes{};
    return std::nullopt;
  };
  rig.engine.WriteButtonClick();
  ASSERT_TRUE(rig.clock.RunUntil([&] { return rig.camera.Heard(kCmdWrite, kItemWhiteBal) > 0; },
                                 rig.Now() + Ms(2000)));
  const VirtualUs first = FrameTimes(rig.port.Frames(), kCmdWrite).back();
  rig.RunUntil(first + Ms(16000));
  std::vector<VirtualUs> wb;
  for (const auto& f : rig.port.Frames()) {
    if (f.bytes[4] == kCmdWrite && f.bytes[5] == kItemWhiteBal) wb.push_back(f.time);
  }
  EXPECT_EQ(wb,
            (std::vector<VirtualUs>{first, first + Ms(4000), first + Ms(8000), first + Ms(12000)}));
  EXPECT_EQ(LastStatusTime(rig.window, StatusPanel::Main, "WRITE ERROR.."), first + Ms(16000));
  EXPECT_EQ(rig.port.Frames().back().bytes, PollBytes(1, kProtocolPelcoD));
  EXPECT_EQ(rig.port.Frames().back().time, first + Ms(16000));
  EXPECT_EQ(rig.state.WriteBusy, 0);
}

TEST(LinkWatchdog, ImageDelayTransferFailsWithTransferError) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.silent = true;
  rig.engine.WriteImageDelayClick();
  const VirtualUs start = rig.Now();
  rig.RunUntil(start + Ms(2000));
  EXPECT_EQ(rig.window.dialogStatus, "Transfer ERROR..");
  EXPECT_EQ(LastStatusTime(rig.window, StatusPanel::Dialog, "Transfer ERROR.."), start + Ms(2000));
  EXPECT_EQ(rig.state.DelayWriteBusy, 0);
  EXPECT_EQ(rig.state.ColToWbPending, 0);
  EXPECT_EQ(rig.state.WbToColPending, 0);
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_EQ(rig.port.Frames().back().bytes, PollBytes(1, kProtocolPelcoD));
}

TEST(LinkWatchdog, GetProtocolStateWithoutAnswerSendsNineQueriesThenDisconnect) {
  LinkRig rig({kBaudCode4800, kProtocolPelcoD, true});
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.silent = true;
  rig.ClearRecords();
  const VirtualUs t = rig.Now();
  rig.engine.GetRS422SETS1Click();
  EXPECT_EQ(rig.engine.LastTransferEnd(), std::nullopt);
  // Every speed twice after the first query, each from the next speed on.
  const size_t queries = 1 + 2 * kLineSpeedCount;
  const VirtualUs givenUp = t + Ms(500) * static_cast<VirtualUs>(queries);
  rig.RunUntil(givenUp);
  const auto& frames = rig.port.Frames();
  ASSERT_EQ(frames.size(), queries);
  for (size_t i = 0; i < queries; ++i) {
    EXPECT_EQ(frames[i].bytes, kGetProtocolStateBytes);
    EXPECT_EQ(frames[i].baud, kLineSpeeds[(kBaudCode4800 + 1 + i) % kLineSpeedCount].bitsPerSecond)
        << i;
    EXPECT_EQ(frames[i].time, t + Ms(500) * static_cast<VirtualUs>(i));
  }
  EXPECT_EQ(rig.window.mainStatus, "Disconnect");
  EXPECT_EQ(rig.engine.LastTransferEnd(), TransferEnd::Failed);
  EXPECT_EQ(LastStatusTime(rig.window, StatusPanel::Main, "Disconnect"), givenUp);
  EXPECT_EQ(rig.port.BaudRate(), 4800);
  EXPECT_EQ(rig.state.ProbeBusy, 0);
  EXPECT_EQ(rig.state.ProbeTries, 0);
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_FALSE(rig.window.buttonsEnabled);
  // The progress texts tell the rate by their dots.
  const auto texts = rig.window.Texts(StatusPanel::Main);
  ASSERT_GE(texts.size(), 4u);
  ASSERT_GE(texts.size(), 2 * kLineSpeedCount);
  for (size_t i = 0; i < kLineSpeedCount; ++i) {
    const LineSpeed& tried = kLineSpeeds[(kBaudCode4800 + 1 + i) % kLineSpeedCount];
    EXPECT_EQ(texts[2 * i], "Check ");
    EXPECT_EQ(texts[2 * i + 1], std::string("Check ") + tried.probeText);
  }
  // Polling goes on at the menu's rate.
  rig.RunUntil(givenUp + Ms(500));
  EXPECT_EQ(rig.port.Frames().back().bytes, PollBytes(1, kProtocolPelcoD));
  EXPECT_EQ(rig.port.Frames().back().baud, 4800);
}

TEST(LinkWatchdog, GetProtocolStateAfterAnOutstandingPollSendsEightQueries) {
  LinkRig rig({kBaudCode2400, kProtocolPelcoD, true});
  rig.camera.silent = true;
  rig.Start();
  rig.engine.GetRS422SETS1Click();
  EXPECT_EQ(rig.port.Frames().size(), 1u);  // the poll only
  rig.RunUntil(Ms(500) * static_cast<VirtualUs>(1 + kProbeQueryLimit));
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdGetProtocolState).size(), kProbeQueryLimit);
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdGetProtocolState).front(), Ms(500));
  EXPECT_EQ(rig.window.mainStatus, "Disconnect");
  EXPECT_EQ(rig.port.BaudRate(), 2400);
}

TEST(LinkWatchdog, ASearchAnsweredAtTheFourthQueryKeepsTheLampLime) {
  LinkRig rig;  // 9600: the search tries 1200, 2400, 4800, then 9600
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.engine.GetRS422SETS1Click();
  rig.RunFor(Ms(3000));
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdGetProtocolState).size(), 4u);
  EXPECT_EQ(rig.window.mainStatus, "");  // "Finish", then the poll reply
  EXPECT_TRUE(rig.window.lampLog.empty());
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
}

TEST(LinkWatchdog, GetProtocolStateAdoptsTheAnsweringCamera) {
  LinkRig rig({kBaudCode2400, kProtocolPelcoP, true});
  rig.camera.address = 37;
  rig.camera.baud = 9600;
  rig.camera.protocolCode = kProtocolPelcoD;
  rig.engine.GetRS422SETS1Click();  // 4800 now, 9600 at the next tick
  rig.clock.RunUntil([&] { return !rig.engine.LinkBusy(); }, Ms(2000));
  const VirtualUs answered = rig.Now();
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdGetProtocolState),
            (std::vector<VirtualUs>{0, Ms(500)}));
  EXPECT_EQ(rig.cameraAddress, 37);
  EXPECT_EQ(rig.window.hundredAdd, 0);
  EXPECT_EQ(rig.window.tenAdd, 3);
  EXPECT_EQ(rig.window.unitAdd, 7);
  EXPECT_EQ(rig.window.baudStatus, "Baud Rate : 9600");
  EXPECT_TRUE(rig.window.baudChecks[kBaudCode9600]);
  EXPECT_FALSE(rig.window.baudChecks[kBaudCode2400]);
  EXPECT_EQ(rig.window.protocolStatus, "Protocol Type : PELCO D");
  EXPECT_TRUE(rig.window.protocolChecks[kProtocolPelcoD]);
  EXPECT_FALSE(rig.window.protocolChecks[kProtocolPelcoP]);
  EXPECT_EQ(rig.port.BaudRate(), 9600);
  EXPECT_EQ(rig.window.mainStatus, "Finish");
  EXPECT_EQ(rig.window.Texts(StatusPanel::Main),
            (std::vector<std::string>{"Check ", "Check Camera Protocol ...", "Check ",
                                      "Check Camera Protocol ....", "Finish"}));
  // 100 ms later the watchdog polls the new address, and its reply turns the lamp green.
  rig.RunUntil(answered + Ms(100));
  EXPECT_EQ(rig.port.Frames().back().time, answered + Ms(100));
  EXPECT_EQ(rig.port.Frames().back().bytes,
            (Bytes{0xCC, 0x01, 0x01, 0x25, 0x02, 0x00, 0x00, 0x01, 0x00, 0x2A}));
  rig.RunFor(Ms(50));
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  EXPECT_EQ(rig.window.mainStatus, "");
}

}  // namespace
