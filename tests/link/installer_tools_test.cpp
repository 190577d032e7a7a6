// Find Cameras and Write to Several Cameras on the virtual clock, with
// several scripted cameras sharing the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

#include "link/address_list.h"
#include "link/item_comparison.h"
#include "link/line_backup.h"
#include "link/line_scan.h"
#include "link/multi_write.h"
#include "link/qam_intervals.h"
#include "tests/link/engine_test_support.h"
#include "tests/settings/settings_file_fixture.h"

namespace {

struct ScanRecord : LineScanListener {
  void ScanProgress(const LineScanProgress& p) override { progress.push_back(p); }
  void ScanFound(const LineScanFind& f) override { found.push_back(f); }
  void ScanFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
  }
  void ScanLineLost(const LineLoss& where) override { lost = where; }
  std::vector<LineScanProgress> progress;
  std::vector<LineScanFind> found;
  bool finished = false;
  bool stopped = false;
  std::optional<LineLoss> lost;
};

// A scan wired to a rig as the window wires it: its own timer.
struct ScanRig {
  ScanRig() {
    timer.onTimer = [this] { scan.ReplyTimerTimer(); };
  }
  LinkRig rig;
  FakeTimer timer{rig.clock};
  ScanRecord record;
  LineScan scan{rig.engine, rig.port, timer, record};
};

// One more camera on the rig's line.
std::unique_ptr<ScriptedCamera> AddCamera(LinkRig& rig, uint8_t address, uint8_t speedCode) {
  auto camera = std::make_unique<ScriptedCamera>(rig.clock, rig.port);
  camera->address = address;
  camera->baud = BaudOfCode(speedCode);
  camera->protocolCode = kProtocolPelcoD;
  camera->deliver = [&rig](const Bytes& bytes) { rig.Deliver(bytes); };
  return camera;
}

TEST(LineScan, ReplyWindows) {
  EXPECT_EQ(LineScan::ReplyWindowMs(kBaudCode1200), 190);
  EXPECT_EQ(LineScan::ReplyWindowMs(kBaudCode2400), 111);
  EXPECT_EQ(LineScan::ReplyWindowMs(kBaudCode4800), 66);
  EXPECT_EQ(LineScan::ReplyWindowMs(kBaudCode9600), 48);
  // Per address the poll, the guard time and 24 ms of turnaround; per camera
  // found its confirming poll and two replies.
  EXPECT_DOUBLE_EQ(LineScan::FloorMs(kBaudCode9600, 199, 0), 199 * (100000.0 / 9600 + 5 + 24));
  EXPECT_DOUBLE_EQ(LineScan::FloorMs(kBaudCode1200, 1, 1) - LineScan::FloorMs(kBaudCode1200, 1, 0),
                   3 * 100000.0 / 1200 + 16 + 24);
  // The default plan tries every speed of the table; each has a window.
  int64_t everySpeed = 0;
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    EXPECT_GT(LineScan::ReplyWindowMs(code), 0) << int(code);
    everySpeed += LineScan::ReplyWindowMs(code);
  }
  EXPECT_EQ(LineScan::PlanMs(LineScanPlan{}), 199 * everySpeed);
}

TEST(LineScan, FindsConfirmedCamerasAndFlagsGarbledAddresses) {
  ScanRig s;
  LinkRig& rig = s.rig;
  rig.camera.address = 40;  // the user's camera lies outside the range
  struct Camera {
    uint8_t address, speedCode;
    bool garbled;
  };
  const Camera cameras[] = {
      {7, kBaudCode2400, false}, {5, kBaudCode9600, false}, {3, kBaudCode9600, true}};
  std::vector<std::unique_ptr<ScriptedCamera>> line;
  for (const Camera& c : cameras) {
    line.push_back(AddCamera(rig, c.address, c.speedCode));
    if (c.garbled) {
      line.back()->script = [address = c.address](const Bytes& r) -> std::optional<Bytes> {
        if (r[kFrameAddress] != address) return Bytes{};
        Bytes reply = ReplyBytes(address, kReplyPoll);
        reply[kFrameChecksum] ^= 0x5A;
        return reply;
      };
    }
  }
  rig.Start();
  rig.RunFor(Ms(100));
  rig.ClearRecords();

  LineScanPlan plan;
  plan.speedCodes = {kBaudCode2400, kBaudCode9600};
  plan.firstAddress = 1;
  plan.lastAddress = 8;
  ASSERT_TRUE(s.scan.Start(plan));
  EXPECT_TRUE(rig.engine.LinkBusy());
  ASSERT_TRUE(rig.clock.RunUntil([&] { return s.record.finished; }, rig.Now() + Ms(10000)));

  ASSERT_EQ(s.record.found.size(), 3u);
  const LineScanFind expected[] = {
      {7, kBaudCode2400, ""}, {3, kBaudCode9600, kDuplicateAddressRemark}, {5, kBaudCode9600, ""}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(s.record.found[i].address, expected[i].address);
    EXPECT_EQ(s.record.found[i].speedCode, expected[i].speedCode);
    EXPECT_EQ(s.record.found[i].remark, expected[i].remark);
  }
  // Every address polled once, an answering one twice; the engine sends
  // nothing of its own until the scan ends.
  std::vector<Bytes> polls;
  std::vector<int> bauds;
  for (const uint8_t code : plan.speedCodes) {
    for (uint8_t a = 1; a <= 8; ++a) {
      const bool answers =
          std::any_of(std::begin(cameras), std::end(cameras),
                      [&](const Camera& c) { return c.address == a && c.speedCode == code; });
      for (int n = answers ? 2 : 1; n > 0; --n) {
        polls.push_back(PollBytes(a, kProtocolPelcoD));
        bauds.push_back(BaudOfCode(code));
      }
    }
  }
  polls.push_back(PollBytes(1, kProtocolPelcoD));  // the engine's, at once
  bauds.push_back(9600);
  const auto frames = rig.port.Frames();
  ASSERT_EQ(FrameBytes(frames), polls);
  for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].baud, bauds[i]) << i;
  // A silent address costs one reply window.
  EXPECT_EQ(frames[1].time - frames[0].time, Ms(111));
  EXPECT_EQ(frames.back().time, rig.Now());
  EXPECT_EQ(s.record.progress.front().msLeft, LineScan::PlanMs(plan));
  EXPECT_EQ(s.record.progress.back().fractionDone, 15.0 / 16.0);
  EXPECT_FALSE(s.record.stopped);
  EXPECT_FALSE(rig.engine.LinkBusy());
}

TEST(LineScan, StopEndsWithinOneWindowAndGivesTheLineBack) {
  ScanRig s;
  LinkRig& rig = s.rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.port.SetBaudRate(4800);  // as a ProtocolSpeed step may leave it
  rig.ClearRecords();
  ASSERT_TRUE(s.scan.Start(LineScanPlan{}));
  EXPECT_FALSE(s.scan.Start(LineScanPlan{}));
  rig.engine.ReadButtonClick();  // refused while the scan has the line
  rig.RunFor(Ms(1000));
  s.scan.Stop();
  const VirtualUs stopped = rig.Now();
  const size_t sent = rig.port.Frames().size();
  ASSERT_TRUE(rig.clock.RunUntil([&] { return s.record.finished; }, rig.Now() + Ms(1000)));
  EXPECT_TRUE(s.record.stopped);
  EXPECT_LE(rig.Now() - stopped, Ms(LineScan::ReplyWindowMs(kBaudCode1200)));
  EXPECT_EQ(rig.camera.Heard(kCmdRead), 0u);
  // The rate before the scan, then the menu's; the link polls at once.
  const auto& bauds = rig.port.BaudChanges();
  ASSERT_GE(bauds.size(), 2u);
  EXPECT_EQ(bauds[bauds.size() - 2].baud, 4800);
  EXPECT_EQ(bauds.back().baud, 9600);
  const auto frames = rig.FramesSince(sent);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bytes, PollBytes(1, kProtocolPelcoD));
  EXPECT_EQ(frames[0].time, rig.Now());
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);  // kept all along
  EXPECT_TRUE(rig.window.lampLog.empty());
  rig.RunFor(Ms(100));
  EXPECT_EQ(rig.camera.Heard(kCmdPoll), 1u);  // the 1200 polls were noise to it
}

// One camera at address 5 and 9600 baud, answering its polls with these
// deliveries in turn (the last one repeats); the scan covers 4-6 at 9600.
struct AnswerCase {
  const char* name;
  std::vector<Bytes> answers;
  size_t polls;  // polls the camera heard
  bool found;
  VirtualUs turnaround = Ms(5);
  std::vector<size_t> parts = {};
};

Bytes Joined(std::initializer_list<Bytes> pieces) {
  Bytes joined;
  for (const Bytes& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
  return joined;
}

TEST(LineScan, ReadsEachReplyAsTheLineDeliversIt) {
  const Bytes reply = ReplyBytes(5, kReplyPoll);
  const AnswerCase cases[] = {
      {"a stray start byte before the reply", {Joined({{kFrameStart}, reply})}, 2, true},
      {"a start byte and garbage before it", {Joined({{kFrameStart, 0x55, 0x01}, reply})}, 2, true},
      {"garbage, then replies: one more poll", {{0x55, kFrameStart, 0x01}, reply}, 3, true},
      {"two copies in one read: one answer", {Joined({reply, reply})}, 2, true},
      {"garbage only: two polls", {{0x55}}, 2, false},
      // Its start byte comes within the window, its end after it.
      {"a late reply read to its end", {reply}, 2, true, Ms(30), {1}},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScanRig s;
    s.rig.camera.address = 40;
    auto camera = AddCamera(s.rig, 5, kBaudCode9600);
    camera->turnaround = c.turnaround;
    camera->replyParts = c.parts;
    camera->partGap = 0;
    size_t polled = 0;
    camera->script = [&](const Bytes& r) -> std::optional<Bytes> {
      if (r[kFrameAddress] != 5) return Bytes{};
      return c.answers[std::min(polled++, c.answers.size() - 1)];
    };
    LineScanPlan plan;
    plan.speedCodes = {kBaudCode9600};
    plan.firstAddress = 4;
    plan.lastAddress = 6;
    ASSERT_TRUE(s.scan.Start(plan));
    ASSERT_TRUE(s.rig.clock.RunUntil([&] { return s.record.finished; }, Ms(5000)));
    EXPECT_EQ(polled, c.polls);
    EXPECT_EQ(s.record.found.size(), c.found ? 1u : 0u);
    for (const LineScanFind& find : s.record.found) EXPECT_EQ(find.remark, "");
    // Silent 4 and 6 are polled once, one window each.
    const auto frames = s.rig.port.Frames();
    EXPECT_EQ(frames[1].time - frames[0].time, Ms(LineScan::ReplyWindowMs(kBaudCode9600)));
    EXPECT_EQ(frames.size(), c.polls + 3);
  }
}

TEST(LineScan, OneAddressAtARateGivenTwiceIsScannedOnce) {
  ScanRig s;
  s.rig.camera.address = 5;
  LineScanPlan plan;
  plan.speedCodes = {kBaudCode9600, kBaudCode9600};
  plan.firstAddress = 5;
  plan.lastAddress = 5;
  EXPECT_EQ(LineScan::PlanMs(plan), LineScan::ReplyWindowMs(kBaudCode9600));
  ASSERT_TRUE(s.scan.Start(plan));
  ASSERT_TRUE(s.rig.clock.RunUntil([&] { return s.record.finished; }, Ms(5000)));
  ASSERT_EQ(s.record.found.size(), 1u);
  EXPECT_EQ(s.record.found[0].address, 5);
  EXPECT_EQ(s.rig.camera.Heard(kCmdPoll), 2u);
  EXPECT_EQ(s.record.progress.size(), 1u);
}

TEST(LineScan, StopKeepsTheCameraItsLastReplyConfirmed) {
  ScanRig s;
  s.rig.camera.address = 2;
  LineScanPlan plan;
  plan.speedCodes = {kBaudCode9600};
  ASSERT_TRUE(s.scan.Start(plan));
  // Stop while the confirming poll is on its way.
  const auto& heard = s.rig.camera.heard;
  ASSERT_TRUE(s.rig.clock.RunUntil(
      [&] { return heard.size() == 3 && heard.back().bytes[kFrameAddress] == 2; }, Ms(1000)));
  s.scan.Stop();
  ASSERT_TRUE(s.rig.clock.RunUntil([&] { return s.record.finished; }, Ms(1000)));
  EXPECT_TRUE(s.record.stopped);
  ASSERT_EQ(s.record.found.size(), 1u);
  EXPECT_EQ(s.record.found[0].address, 2);
}

TEST(LineScan, AClosedPortIsRefused) {
  ScanRig s;
  s.rig.port.SetEnabled(false);
  EXPECT_FALSE(s.scan.Start(LineScanPlan{}));
  EXPECT_FALSE(s.rig.engine.Paused());
  s.rig.RunFor(Ms(1000));
  EXPECT_TRUE(s.record.progress.empty());
  EXPECT_FALSE(s.timer.Active());
}

struct WriteRecord : MultiWriteListener {
  void WriteProgress(const MultiWriteProgress& p) override { progress.push_back(p); }
  void CameraDone(const MultiWriteResult& r) override { rows.push_back(r); }
  void WriteFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
  }
  void WriteLineLost(const LineLoss& where) override { lost = where; }
  std::vector<MultiWriteProgress> progress;
  std::vector<MultiWriteResult> rows;
  bool finished = false;
  bool stopped = false;
  std::optional<LineLoss> lost;
};

struct RigClock : LinkClock {
  explicit RigClock(const VirtualClock& c) : clock(c) {}
  int64_t NowMs() const override { return clock.Now() / 1000; }
  const VirtualClock& clock;
};

// Everything a panel shows, to see that it did not change.
std::vector<int> PanelSnapshot(const MemoryPanel& panel) {
  std::vector<int> values;
  for (size_t c = 0; c < kPanelControlCount; ++c) {
    const auto control = static_cast<PanelControl>(c);
    values.push_back(panel.ItemIndex(control));
    values.push_back(panel.Visible(control));
    values.push_back(panel.Position(control));
  }
  for (const char ch : panel.IdEditText()) values.push_back(ch);
  return values;
}

TEST(MultiWrite, OneRowPerCameraAndTheUsersPanelStays) {
  LinkRig rig;
  rig.panel.SetIdEditText("GATE 4");
  rig.panel.SetItemIndex(PanelControl::GainSel, 0);
  ASSERT_TRUE(rig.StartLinked());
  const std::vector<int> before = PanelSnapshot(rig.panel);

  std::vector<std::unique_ptr<ScriptedCamera>> line;
  line.push_back(AddCamera(rig, 2, kBaudCode9600));
  line.push_back(AddCamera(rig, 4, kBaudCode9600));
  line.back()->keeps[kItemShutter] = 5;  // an AI lens: the panel says AUTO
  line.push_back(AddCamera(rig, 5, kBaudCode9600));
  line.back()->script = [](const Bytes& r) -> std::optional<Bytes> {
    if (r[kFrameCode] != kCmdRead) return std::nullopt;
    if (r[kFrameItem] == kItemShutter) return ReplyBytes(5, kReplyRead, kItemShutter, 3);
    if (r[kFrameItem] == kItemId && r[kFrameValue] == 0)
      return ReplyBytes(5, kReplyRead, kItemId, 0, 'X');
    return std::nullopt;
  };
  line.push_back(AddCamera(rig, 6, kBaudCode9600));
  line.back()->keeps[kItemGain] = 1;
  // A lens on IRIS and a SYNC fixed by the power supply, as the panel shows them.
  line.push_back(AddCamera(rig, 7, kBaudCode9600));
  line.back()->keeps = {{kItemShutter, kShutterIrisValue}, {kItemSync, kSyncDCValue}};

  WriteRecord record;
  RigClock clock(rig.clock);
  MultiWrite write(rig.engine, rig.panel, clock, record);
  const AddressList list = ParseAddressList("2-7");
  ASSERT_TRUE(write.Start(list.addresses, MultiWriteOptions{}));
  ASSERT_TRUE(rig.clock.RunUntil([&] { return record.finished; }, rig.Now() + Ms(60000)));

  const std::pair<uint8_t, std::string> expected[] = {
      {2, "OK"},
      {3, "No answer"},
      {4, "Refused: SHUTTER"},
      {5, "Differs: SHUTTER, ID."},
      {6, "Stopped at GAIN; not written: " + ItemsAfter(kItemGain, ", ")},
      {7, "OK (fixed: SHUTTER IRIS, SYNC ---)"}};
  ASSERT_EQ(record.rows.size(), std::size(expected));
  for (size_t i = 0; i < record.rows.size(); ++i) {
    EXPECT_EQ(record.rows[i].address, expected[i].first);
    EXPECT_EQ(record.rows[i].text, expected[i].second);
  }
  // Decided from values: the cut-short write and the fixed states.
  EXPECT_EQ(record.rows[4].outcome, MultiWriteOutcome::Refused);
  EXPECT_EQ(record.rows[4].stoppedAt, kItemGain);
  EXPECT_EQ(record.rows[4].notWritten.size(),
            size_t(kTransferOrder.end() -
                   std::find(kTransferOrder.begin(), kTransferOrder.end(), kItemGain) - 1));
  EXPECT_FALSE(std::any_of(rig.port.Frames().begin(), rig.port.Frames().end(), [](const auto& f) {
    return f.bytes[kFrameAddress] == 6 && f.bytes[kFrameItem] == kItemSync;
  }));
  EXPECT_EQ(record.rows[5].outcome, MultiWriteOutcome::Ok);
  EXPECT_EQ(record.rows[5].notes, (std::vector<uint8_t>{kItemShutter, kItemSync}));
  // A silent camera costs the link's own failure time.
  EXPECT_EQ(record.rows[1].ms, (kMissedTicksLimit + 1) * kRequestWatchdogMs);
  EXPECT_EQ(record.progress[1].item, "D/N MODE");
  EXPECT_EQ(line[0]->idText[3], 'E');
  EXPECT_EQ(line[0]->values[kItemGain], 0);
  EXPECT_TRUE(rig.window.notices.empty());
  EXPECT_EQ(PanelSnapshot(rig.panel), before);
  EXPECT_EQ(rig.cameraAddress, 1);
  // Back to normal: the user's camera is polled at the next tick.
  rig.ClearRecords();
  rig.RunFor(Ms(kRequestWatchdogMs + 10));
  EXPECT_EQ(FrameBytes(rig.port.Frames()), std::vector<Bytes>{PollBytes(1, kProtocolPelcoD)});
}

TEST(MultiWrite, EachCameraGetsAPanelOfItsOwn) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  std::vector<std::unique_ptr<ScriptedCamera>> line;
  line.push_back(AddCamera(rig, 2, kBaudCode9600));
  line.push_back(AddCamera(rig, 3, kBaudCode9600));
  line.back()->keeps[kItemGain] = 0;  // compared against its own panel's GAIN
  std::vector<MemoryPanel> panels(2);
  for (size_t i = 0; i < panels.size(); ++i) {
    CopyPanel(rig.panel, panels[i]);
    panels[i].SetItemIndex(PanelControl::ShutterSel, static_cast<int>(i) + 2);
  }
  panels[1].SetItemIndex(PanelControl::GainSel, 1);
  WriteRecord record;
  RigClock clock(rig.clock);
  MultiWrite write(rig.engine, rig.panel, clock, record);
  EXPECT_FALSE(write.Start({2}, panels, MultiWriteOptions{}));
  ASSERT_TRUE(write.Start({2, 3}, panels, MultiWriteOptions{}));
  ASSERT_TRUE(rig.clock.RunUntil([&] { return record.finished; }, rig.Now() + Ms(60000)));
  ASSERT_EQ(record.rows.size(), 2u);
  EXPECT_EQ(record.rows[0].text, "OK");
  EXPECT_EQ(line[0]->values[kItemShutter], 2);
  EXPECT_EQ(line[1]->values[kItemShutter], 3);
  // Its own GAIN, which only it keeps from being written.
  EXPECT_EQ(record.rows[1].text.rfind("Stopped at GAIN;", 0), 0u) << record.rows[1].text;
}

TEST(MultiWrite, StopMarksTheRestStopped) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  WriteRecord record;
  RigClock clock(rig.clock);
  MultiWrite write(rig.engine, rig.panel, clock, record);
  ASSERT_TRUE(write.Start({1, 9}, MultiWriteOptions{true, true}));
  rig.RunFor(Ms(100));
  write.Stop();
  // The camera in hand says how far it got; the one not reached is untouched.
  ASSERT_EQ(record.rows.size(), 2u);
  EXPECT_EQ(record.rows[0].text,
            "Stopped at SHUTTER; not written: " + ItemsAfter(kItemShutter, ", ") + ", IMAGE DELAY");
  EXPECT_EQ(record.rows[1].text, "Stopped");
  EXPECT_EQ(record.rows[1].stoppedAt, 0);
  EXPECT_TRUE(record.stopped);
  EXPECT_FALSE(rig.engine.LinkBusy());
}

TEST(MultiWrite, TheFirstCameraGetsItsFullTriesAtEveryPhaseOfThePollCycle) {
  for (int phase = 0; phase <= 3000; phase += 100) {
    LinkRig rig;
    rig.camera.silent = true;  // no camera at the user's address, as at start-up
    rig.Start();
    rig.RunFor(Ms(phase));
    rig.ClearRecords();
    WriteRecord record;
    RigClock clock(rig.clock);
    MultiWrite write(rig.engine, rig.panel, clock, record);
    const VirtualUs t = rig.Now();
    ASSERT_TRUE(write.Start({2, 3}, MultiWriteOptions{}));
    ASSERT_TRUE(rig.clock.RunUntil([&] { return record.finished; }, t + Ms(9000)));
    // Four tries each, the next camera in the tick that gives up on the last.
    std::vector<Bytes> frames;
    std::vector<VirtualUs> times;
    for (const uint8_t address : {2, 3}) {
      for (int i = 0; i < 4; ++i) {
        frames.push_back(WriteBytes(address, kItemDNMode, 0));
        times.push_back(t + Ms(500) * static_cast<VirtualUs>(times.size()));
      }
    }
    frames.push_back(PollBytes(1, kProtocolPelcoD));
    EXPECT_EQ(FrameBytes(rig.port.Frames()), frames) << phase;
    EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdWrite), times) << phase;
    ASSERT_EQ(record.rows.size(), 2u);
    EXPECT_EQ(record.rows[0].text, "No answer") << phase;
  }
}

TEST(MultiWrite, ALateReadBackReplyNeverReachesTheUsersPanel) {
  for (const bool close : {false, true}) {
    LinkRig rig;
    rig.panel.SetItemIndex(PanelControl::GainSel, 0);
    ASSERT_TRUE(rig.StartLinked());
    // The camera written is the user's own; its read-back of GAIN says WIDE.
    rig.camera.script = [](const Bytes& r) -> std::optional<Bytes> {
      if (r[kFrameCode] != kCmdRead || r[kFrameItem] != kItemGain) return std::nullopt;
      return ReplyBytes(1, kReplyRead, kItemGain, 1);
    };
    WriteRecord record;
    RigClock clock(rig.clock);
    auto write = std::make_unique<MultiWrite>(rig.engine, rig.panel, clock, record);
    ASSERT_TRUE(write->Start({1}, MultiWriteOptions{}));
    ASSERT_TRUE(rig.clock.RunUntil([&] { return rig.camera.Heard(kCmdRead, kItemGain) > 0; },
                                   rig.Now() + Ms(5000)));
    rig.window.ClearRecords();
    close ? write.reset() : write->Stop();  // the reply is on its way
    rig.RunFor(Ms(1000));
    EXPECT_EQ(rig.panel.ItemIndex(PanelControl::GainSel), 0) << close;
    EXPECT_LT(LastStatusTime(rig.window, StatusPanel::Main, "Finish"), 0) << close;
    EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  }
}

TEST(LineScan, WaitsForReadCameraAndNoSweepChangesItsRate) {
  ScanRig s;
  LinkRig& rig = s.rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.engine.ReadButtonClick();
  EXPECT_FALSE(s.scan.Start(LineScanPlan{}));
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  EXPECT_EQ(rig.camera.Heard(kCmdRead), kTransferOrder.size() + kIdLength - 1);
  // A ProtocolSpeed sweep just begun would take its next step at the end of
  // the scan's first poll.
  rig.engine.ProtocolSpeedClick();
  const size_t sweep = rig.port.Frames().size();
  LineScanPlan plan;
  plan.speedCodes = {kBaudCode2400};
  plan.lastAddress = 3;
  ASSERT_TRUE(s.scan.Start(plan));
  ASSERT_TRUE(rig.clock.RunUntil([&] { return s.record.finished; }, rig.Now() + Ms(2000)));
  const auto frames = rig.FramesSince(sweep);
  ASSERT_EQ(frames.size(), 4u);  // three polls, then the engine's own
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(frames[i].baud, 2400) << i;
  EXPECT_EQ(frames[3].baud, 9600);
  // From the scan's first rate to its end the port stays at 2400.
  const auto& bauds = rig.port.BaudChanges();
  auto change =
      std::find_if(bauds.begin(), bauds.end(), [](const auto& c) { return c.baud == 2400; });
  for (; change != bauds.end() && change->time < frames[3].time; ++change)
    EXPECT_EQ(change->baud, 2400);
}

// The port's device goes mid-run (the engine's owner passes on the port's
// event): each tool ends at once with a failure that says where, nothing more
// is sent into the dead port, and the lamp goes red by the watchdog as for a
// silent camera. Neither tool starts on such a port.
TEST(LineLost, EndsFindCamerasAtOnce) {
  ScanRig s;
  LinkRig& rig = s.rig;
  ASSERT_TRUE(rig.StartLinked());
  LineScanPlan plan;
  plan.speedCodes = {kBaudCode4800, kBaudCode9600};
  plan.lastAddress = 40;
  ASSERT_TRUE(s.scan.Start(plan));
  rig.RunFor(Ms(27 * LineScan::ReplyWindowMs(kBaudCode4800) - 10));  // polling address 27
  rig.port.SetGone(true);
  rig.engine.Comm1Gone();
  ASSERT_TRUE(s.record.lost.has_value());
  EXPECT_EQ(s.record.lost->address, 27);
  EXPECT_EQ(s.record.lost->baud, 4800);
  EXPECT_EQ(LineLostText(*s.record.lost), "The line was lost at address 27, 4800 baud");
  EXPECT_FALSE(s.record.finished);
  EXPECT_FALSE(s.scan.Running() || rig.engine.Paused());
  EXPECT_EQ(rig.port.BaudRate(), 9600);
  const size_t sent = rig.port.Frames().size();
  rig.RunFor(Ms((kMissedTicksLimit + 2) * kRequestWatchdogMs));
  EXPECT_EQ(rig.port.Frames().size(), sent);
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_FALSE(s.record.finished);
  EXPECT_FALSE(s.scan.Start(plan));
}

TEST(LineLost, EndsWriteToSeveralCamerasAtOnce) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  WriteRecord record;
  RigClock clock(rig.clock);
  MultiWrite write(rig.engine, rig.panel, clock, record);
  ASSERT_TRUE(write.Start({1, 2, 3}, MultiWriteOptions{}));
  rig.RunFor(Ms(100));
  rig.port.SetGone(true);
  rig.engine.Comm1Gone();
  ASSERT_TRUE(record.lost.has_value());
  EXPECT_EQ(record.lost->address, 1);
  EXPECT_EQ(record.lost->baud, 9600);
  ASSERT_EQ(record.rows.size(), 3u);
  EXPECT_EQ(record.rows[0].outcome, MultiWriteOutcome::LineLost);
  EXPECT_EQ(record.rows[0].text.rfind("Line lost at SHUTTER; not written: GAIN, ", 0), 0u)
      << record.rows[0].text;
  EXPECT_EQ(record.rows[1].text, "Stopped");
  EXPECT_FALSE(record.finished || write.Running() || rig.engine.LinkBusy());
  const size_t sent = rig.port.Frames().size();
  rig.RunFor(Ms(10000));
  EXPECT_EQ(rig.port.Frames().size(), sent);
  EXPECT_EQ(rig.window.lamp, LampColour::Red);
  EXPECT_FALSE(write.Start({1}, MultiWriteOptions{}));
}

struct BackupRecord : LineBackupListener {
  void BackupProgress(const LineBackupProgress&) override {}
  void CameraRead(const LineBackupResult& r) override {
    rows.push_back(r);
    if (r.outcome == LineBackupOutcome::Read) CopyPanel(*r.panel, panels[r.address]);
  }
  void BackupFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
  }
  void BackupLineLost(const LineLoss& where) override { lost = where; }
  std::vector<LineBackupResult> rows;
  std::map<uint8_t, MemoryPanel> panels;
  bool finished = false;
  bool stopped = false;
  std::optional<LineLoss> lost;
};

TEST(LineBackup, ReadsEachCameraIntoAScratchPanelAndTheUsersPanelStays) {
  LinkRig rig;
  rig.panel.SetIdEditText("GATE 4");
  ASSERT_TRUE(rig.StartLinked());
  const std::vector<int> before = PanelSnapshot(rig.panel);
  std::vector<std::unique_ptr<ScriptedCamera>> line;
  line.push_back(AddCamera(rig, 2, kBaudCode9600));
  line.back()->values[kItemShutter] = 5;
  line.back()->idText[0] = 'P';
  line.push_back(AddCamera(rig, 4, kBaudCode9600));
  line.back()->values[kItemShutter] = kShutterIrisValue;

  BackupRecord record;
  RigClock clock(rig.clock);
  LineBackup backup(rig.engine, clock, record);
  ASSERT_TRUE(backup.Start({2, 3, 4}));
  ASSERT_TRUE(rig.clock.RunUntil([&] { return record.finished; }, rig.Now() + Ms(60000)));
  ASSERT_EQ(record.rows.size(), 3u);
  EXPECT_EQ(record.rows[0].outcome, LineBackupOutcome::Read);
  EXPECT_EQ(record.rows[1].outcome, LineBackupOutcome::NoAnswer);
  EXPECT_EQ(record.rows[1].ms, (kMissedTicksLimit + 1) * kRequestWatchdogMs);
  EXPECT_EQ(record.rows[2].outcome, LineBackupOutcome::Read);
  EXPECT_EQ(record.panels[2].IdEditText().substr(0, 1), "P");
  EXPECT_EQ(PanelSnapshot(rig.panel), before);
  EXPECT_EQ(rig.cameraAddress, 1);

  // The comparison the read-back uses: values as a settings file holds them.
  const std::vector<ItemComparison> items = CompareItems(record.panels[2], record.panels[4]);
  const auto shutter = std::find_if(items.begin(), items.end(),
                                    [](const ItemComparison& c) { return c.name == "SHUTTER"; });
  ASSERT_NE(shutter, items.end());
  EXPECT_EQ(shutter->wanted, "5");
  EXPECT_EQ(shutter->camera, "IRIS");
  EXPECT_TRUE(shutter->fixedState && !shutter->differs);
  const auto id = std::find_if(items.begin(), items.end(),
                               [](const ItemComparison& c) { return c.item == kItemId; });
  EXPECT_TRUE(id->differs);
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](auto& c) { return c.differs; }), 1);
}

TEST(LineBackup, ALostLineEndsTheRunAtOnce) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  BackupRecord record;
  RigClock clock(rig.clock);
  LineBackup backup(rig.engine, clock, record);
  ASSERT_TRUE(backup.Start({1, 2}));
  rig.RunFor(Ms(100));
  rig.port.SetGone(true);
  rig.engine.Comm1Gone();
  ASSERT_TRUE(record.lost.has_value());
  EXPECT_EQ(record.lost->address, 1);
  ASSERT_EQ(record.rows.size(), 2u);
  EXPECT_EQ(record.rows[0].outcome, LineBackupOutcome::LineLost);
  EXPECT_EQ(record.rows[1].outcome, LineBackupOutcome::Stopped);
  EXPECT_FALSE(record.finished || backup.Running() || rig.engine.LinkBusy());
  EXPECT_FALSE(backup.Start({1}));
}

TEST(AddressList, ParsesRangesAndNamesFaults) {
  const struct {
    const char* text;
    std::vector<uint8_t> addresses;
    const char* error;
  } cases[] = {
      {"2-4, 40", {2, 3, 4, 40}, ""},
      {" 7 5 - 6,7 ", {7, 5, 6}, ""},
      {"199", {199}, ""},
      {"", {}, "No addresses given"},
      {"0", {}, "Address 0 is outside 1..199"},
      {"3, 200", {}, "Address 200 is outside 1..199"},
      {"9-4", {}, "Range 9-4 runs backwards"},
      {"3-x", {}, "\"3-x\" is not an address or a range like 2-32"},
      {"1,-5", {}, "A dash right after a comma at position 3 of \"1,-5\": give a range as 2-32"},
      {"3,-7", {}, "A dash right after a comma at position 3 of \"3,-7\": give a range as 2-32"},
      {"2,- 4", {}, "A dash right after a comma at position 3 of \"2,- 4\": give a range as 2-32"},
      {"9, -4", {}, "A dash right after a comma at position 4 of \"9, -4\": give a range as 2-32"},
  };
  for (const auto& c : cases) {
    const AddressList list = ParseAddressList(c.text);
    EXPECT_EQ(list.addresses, c.addresses) << c.text;
    EXPECT_EQ(list.error, c.error) << c.text;
  }
}

}  // namespace
