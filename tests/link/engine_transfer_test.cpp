// Read Camera, Write Camera and the image delay transfers end to end against
// the scripted camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>

#include "tests/link/engine_test_support.h"

namespace {

const char* const kAiLensNotice = "Camera is in AI Lens mode ,shutter can't setting AUTO";

// The status texts of a whole Read or Write Camera, in the items' transfer
// order (pinned by the item table's test): one per item, sixteen for the ID.
std::vector<std::string> Expected(const std::string& verb) {
  std::vector<std::string> texts;
  for (const uint8_t item : kTransferOrder) {
    const std::string word = verb + FindCameraItem(item)->statusWord;
    if (item != kItemId) texts.push_back(word);
    for (size_t i = 0; item == kItemId && i < kIdLength; ++i)
      texts.push_back(word + " " + std::to_string(i));
  }
  texts.push_back("Finish");
  return texts;
}

// The frames of a whole transfer: `frame(item, position)` for each item in
// transfer order, the ID at each of its positions.
std::vector<Bytes> TransferFrames(const std::function<Bytes(uint8_t, uint8_t)>& frame) {
  std::vector<Bytes> frames;
  for (const uint8_t item : kTransferOrder) {
    const size_t positions = item == kItemId ? kIdLength : 1;
    for (size_t pos = 0; pos < positions; ++pos) frames.push_back(frame(item, uint8_t(pos)));
  }
  return frames;
}

// A camera with settings unlike the panel's defaults.
void SetUpUnusualCamera(ScriptedCamera& camera) {
  camera.values[kItemDNMode] = 2;
  camera.values[kItemDNLevel] = 0;
  camera.values[kItemDNFil] = 0;
  camera.values[kItemShutter] = kShutterIrisValue;
  camera.values[kItemGain] = 1;
  camera.values[kItemSync] = kSyncDCValue;
  camera.values[kItemBlc] = 4;
  camera.values[kItemAperture] = 0;
  camera.values[kItemWhiteBal] = 5;
  camera.values[kItemIdPos] = 2;
  camera.values[kItemGamma] = 0;
  camera.values[kItemPredtmsp] = 8;
  camera.values[kItemRedGain] = 40;
  camera.values[kItemBlueGain] = 22;
  std::memcpy(camera.idText.data(), "CAM 7 NORTH GATE", kIdLength);
}

TEST(EngineReadCamera, ReadsEveryItemInTransferOrder) {
  LinkRig rig;
  SetUpUnusualCamera(rig.camera);
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.engine.ReadButtonClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  const VirtualUs finished = rig.Now();

  const std::vector<Bytes> expected = TransferFrames([](uint8_t item, uint8_t pos) {
    return item == kItemId ? ReadBytes(1, item, pos) : ReadBytes(1, item);
  });
  EXPECT_EQ(FrameBytes(rig.port.Frames()), expected);
  EXPECT_EQ(rig.port.Frames()[0].bytes,
            (Bytes{0xCC, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05}));
  EXPECT_NE(std::find(expected.begin(), expected.end(),
                      Bytes{0xCC, 0x01, 0x01, 0x01, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x0E}),
            expected.end());

  EXPECT_EQ(rig.window.Texts(StatusPanel::Main), Expected("Read "));
  EXPECT_EQ(rig.window.Texts(StatusPanel::Dialog), std::vector<std::string>{"Finsh"});
  EXPECT_EQ(rig.engine.LastTransferEnd(), TransferEnd::Finished);

  // The panel shows what the camera reported.
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::DNModeSel), 2);
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::ShutterIris), 9);
  EXPECT_TRUE(rig.panel.Visible(PanelControl::ShutterIris));
  EXPECT_FALSE(rig.panel.Visible(PanelControl::ShutterSel));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::ShutterSel), 0);
  EXPECT_TRUE(rig.panel.Visible(PanelControl::SyncDC));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::SyncSel), 0);
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::WhiteBalSel), 3);
  EXPECT_TRUE(rig.panel.GainControlsVisible());
  EXPECT_EQ(rig.panel.Position(PanelControl::RedUpDown), 40);
  EXPECT_EQ(rig.panel.Position(PanelControl::BlueUpDown), 22);
  EXPECT_EQ(rig.panel.IdEditText(), "CAM 7 NORTH GATE");
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::PredtmspSel), 8);
  EXPECT_EQ(rig.state.IdIndex, 0);

  // Each progress text follows its frame's transmit-empty event.
  const auto& empties = rig.port.TxEmptyTimes();
  ASSERT_EQ(empties.size(), expected.size());
  EXPECT_EQ(rig.window.statusLog[0].time, empties[0] + Ms(5));

  // The next poll comes 3 s after the last reply and clears "Finish".
  rig.RunUntil(finished + Ms(3000));
  EXPECT_EQ(rig.port.Frames().back().time, finished + Ms(3000));
  EXPECT_EQ(rig.port.Frames().back().bytes, PollBytes(1, kProtocolPelcoD));
  rig.RunFor(Ms(50));
  EXPECT_EQ(rig.window.mainStatus, "");
  EXPECT_EQ(rig.window.dialogStatus, "");
}

TEST(EngineReadCamera, BusyRule) {
  LinkRig rig;
  rig.camera.silent = true;
  rig.Start();  // a poll is outstanding
  rig.engine.ReadButtonClick();
  EXPECT_EQ(rig.port.Frames().size(), 1u);
  EXPECT_EQ(rig.state.ReadBusy, 1);
  rig.engine.WriteButtonClick();  // refused: a Read runs
  rig.engine.ReadImageDelayClick();
  rig.engine.GetRS422SETS1Click();
  EXPECT_EQ(rig.state.WriteBusy, 0);
  EXPECT_EQ(rig.state.DelayReadBusy, 0);
  EXPECT_EQ(rig.state.ProbeBusy, 0);
  rig.RunUntil(Ms(500));
  ASSERT_EQ(rig.port.Frames().size(), 2u);
  EXPECT_EQ(rig.port.Frames()[1].time, Ms(500));
  EXPECT_EQ(rig.port.Frames()[1].bytes, ReadBytes(1, kItemDNMode));
}

TEST(EngineReadCamera, ReadDuringWriteDoesNothing) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.engine.WriteButtonClick();
  const size_t sent = rig.port.Frames().size();
  rig.engine.ReadButtonClick();
  EXPECT_EQ(rig.port.Frames().size(), sent);
  EXPECT_EQ(rig.state.ReadBusy, 0);
  EXPECT_EQ(rig.state.WriteBusy, 1);
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  EXPECT_EQ(rig.window.mainStatus, "Finish");
  EXPECT_EQ(rig.camera.Heard(kCmdRead), 0u);
}

TEST(EngineReadCamera, StrayWriteReplyDuringAReadWritesNothing) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.silent = true;
  rig.engine.ReadButtonClick();
  rig.Deliver(ReplyBytes(1, kReplyWrite, kItemBlc, 0));
  EXPECT_EQ(rig.port.Frames().back().bytes, ReadBytes(1, kItemDNMode));
  EXPECT_EQ(FrameTimes(rig.port.Frames(), kCmdWrite).size(), 0u);
}

TEST(EngineWriteCamera, WritesThePanelWithTheCameraRules) {
  LinkRig rig;
  SetUpUnusualCamera(rig.camera);
  ASSERT_TRUE(rig.StartLinked());
  rig.engine.ReadButtonClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  // The camera keeps its IRIS and its "---"; the user types a short ID.
  rig.camera.keeps[kItemShutter] = kShutterIrisValue;
  rig.camera.keeps[kItemSync] = kSyncDCValue;
  rig.panel.SetIdEditText("CAM 7");
  rig.RunFor(Ms(3100));  // a poll in between
  rig.ClearRecords();

  rig.engine.WriteButtonClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));

  // What the unusual camera's read left on the panel; other items at their
  // start-up values.
  std::map<uint8_t, uint8_t> written = {
      {0x01, 2}, {0x02, 0}, {0x03, 0}, {0x04, 0},  // "IRIS" writes AUTO
      {0x05, 1}, {0x06, 0},                        // "---" writes LL
      {0x0C, 0}, {0x07, 4}, {0x09, 3}, {0x08, 0}, {0x0D, 8}, {0x0B, 2}, {0x81, 40}, {0x82, 22}};
  const std::string id = "CAM 7";
  const std::vector<Bytes> expected = TransferFrames([&](uint8_t item, uint8_t pos) {
    if (item == kItemId)
      return WriteBytes(1, item, pos, pos < id.size() ? static_cast<uint8_t>(id[pos]) : 0x20);
    const auto value = written.find(item);
    return WriteBytes(1, item,
                      value != written.end() ? value->second : FindCameraItem(item)->defaultValue);
  });
  EXPECT_EQ(FrameBytes(rig.port.Frames()), expected);
  EXPECT_EQ(rig.window.Texts(StatusPanel::Main), Expected("Write "));

  // The AI-lens notice once; the camera's IRIS is shown again.
  ASSERT_EQ(rig.window.notices.size(), 1u);
  EXPECT_EQ(rig.window.notices[0].text, kAiLensNotice);
  EXPECT_TRUE(rig.panel.Visible(PanelControl::ShutterIris));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::ShutterIris), 9);
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::ShutterSel), 0);
  EXPECT_EQ(std::string(rig.camera.idText.begin(), rig.camera.idText.end()), "CAM 7           ");
  // The WHITE BAL write waited 4000 ms, every other 500 ms.
  for (const auto& r : rig.existTimer.restarts) {
    EXPECT_TRUE(r.intervalMs == 500 || r.intervalMs == 4000 || r.intervalMs == 3000);
  }
  EXPECT_EQ(rig.existTimer.restarts.back().intervalMs, 3000);
}

TEST(EngineWriteCamera, AiLensNoticeHoldsTheChainUntilClosed) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.keeps[kItemShutter] = 5;
  bool timerStoppedWhileOpen = false;
  size_t framesWhileOpen = 0;
  rig.window.whileNoticeOpen = [&](const std::string&) {
    if (framesWhileOpen != 0) return;
    framesWhileOpen = rig.port.Frames().size();
    // The notice's own message loop goes on: noise arrives, and a user who
    // reads slowly leaves it open for seconds.
    rig.Deliver({0xCC, 0x01, 0x01, 0x01, 0x82, 0x04, 0x05, 0x00, 0x00, 0x00});
    rig.RunFor(Ms(2000));
    timerStoppedWhileOpen = !rig.existTimer.Active() && rig.port.Frames().size() == framesWhileOpen;
  };
  const size_t before = rig.port.Frames().size();
  rig.engine.WriteButtonClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  EXPECT_TRUE(timerStoppedWhileOpen);
  EXPECT_EQ(framesWhileOpen, before + 4);  // the SHUTTER write was the last frame
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::ShutterSel), 5);
  EXPECT_TRUE(rig.panel.Visible(PanelControl::ShutterSel));
  EXPECT_EQ(rig.window.notices.size(), 1u);
  // After OK the transfer goes on once: every item written exactly once.
  for (const uint8_t item :
       {kItemShutter, kItemGamma, kItemWhiteBal, kItemIdPos, kItemRedGain, kItemBlueGain}) {
    EXPECT_EQ(rig.camera.Heard(kCmdWrite, item), 1u) << int(item);
  }
}

TEST(EngineWriteCamera, RefusedShutterIsWrittenAgainThenGivenUp) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.panel.SetItemIndex(PanelControl::ShutterSel, 3);  // "1/250"
  rig.camera.keeps[kItemShutter] = 0;
  rig.ClearRecords();
  rig.engine.WriteButtonClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  const auto& frames = rig.port.Frames();
  // Three items, then SHUTTER 1/250 eight times; GAIN never comes.
  ASSERT_EQ(frames.size(), 3u + QamProtocol::kWriteRefusalLimit);
  for (size_t i = 3; i < frames.size(); ++i) EXPECT_EQ(frames[i].bytes, WriteBytes(1, 0x04, 3));
  EXPECT_EQ(rig.camera.Heard(kCmdWrite, kItemGain), 0u);
  EXPECT_TRUE(rig.window.notices.empty());
  EXPECT_EQ(rig.window.mainStatus, "WRITE ERROR..");
  const auto texts = rig.window.Texts(StatusPanel::Main);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Write SHUTTER"), 8);
  // The camera answers, so the lamp stays; the next poll comes 3 s later.
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  EXPECT_EQ(rig.state.WriteBusy, 0);
  const VirtualUs ended = rig.Now();
  EXPECT_EQ(LastStatusTime(rig.window, StatusPanel::Main, "WRITE ERROR.."), ended);
  rig.RunUntil(ended + Ms(3000));
  EXPECT_EQ(rig.port.Frames().back().bytes, PollBytes(1, kProtocolPelcoD));
  EXPECT_EQ(rig.port.Frames().back().time, ended + Ms(3000));
}

TEST(EngineWriteCamera, SyncIntAnsweredWithDashesIsConfirmed) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.panel.SetItemIndex(PanelControl::SyncSel, 1);
  rig.camera.keeps[kItemSync] = kSyncDCValue;
  rig.engine.WriteButtonClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
  EXPECT_EQ(rig.camera.Heard(kCmdWrite, kItemSync), 1u);
  EXPECT_EQ(rig.window.mainStatus, "Finish");
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::SyncSel), 1);  // write replies leave the panel
}

TEST(EngineWriteCamera, PollReplyStartsAWaitingWriteWithin100ms) {
  LinkRig rig;
  rig.Start();
  rig.engine.WriteButtonClick();
  EXPECT_EQ(rig.port.Frames().size(), 1u);
  rig.clock.RunUntil([&] { return rig.window.lamp == LampColour::Lime; }, Ms(500));
  const VirtualUs reply = rig.Now();
  rig.RunUntil(reply + Ms(100));
  ASSERT_EQ(rig.port.Frames().size(), 2u);
  EXPECT_EQ(rig.port.Frames()[1].time, reply + Ms(100));
  EXPECT_EQ(rig.port.Frames()[1].bytes, WriteBytes(1, kItemDNMode, 0));
}

TEST(EngineWriteCamera, IdReplyThatDisagreesRewritesTheSamePosition) {
  // A position past the text, or the right position with another character.
  const Bytes replies[] = {ReplyBytes(1, kReplyWrite, kItemId, 20, 'X'),
                           ReplyBytes(1, kReplyWrite, kItemId, 4, 'X')};
  for (const Bytes& reply : replies) {
    LinkRig rig;
    rig.panel.SetIdEditText("CAM 7");
    rig.state.WriteBusy = 1;
    SetItemPending(rig.state, kItemId, true);
    rig.state.IdIndex = 4;
    rig.Deliver(reply);
    EXPECT_EQ(rig.state.IdIndex, 4);
    EXPECT_EQ(rig.port.Frames().back().bytes, WriteBytes(1, kItemId, 4, '7'));
  }
}

TEST(EngineTransfers, StartAtTheFirstIdPositionAfterOneFailedInTheMiddle) {
  for (const bool write : {false, true}) {
    LinkRig rig;
    ASSERT_TRUE(rig.StartLinked());
    rig.state.IdIndex = 7;  // where an earlier transfer gave up
    write ? rig.engine.WriteButtonClick() : rig.engine.ReadButtonClick();
    ASSERT_TRUE(rig.RunUntilIdle(Ms(5000)));
    EXPECT_EQ(rig.camera.Heard(write ? kCmdWrite : kCmdRead, kItemId), kIdLength) << write;
    EXPECT_EQ(rig.window.mainStatus, "Finish");
  }
}

TEST(EngineTransfers, ACameraThatMissesEveryThirdRequestStillCompletes) {
  for (const bool write : {false, true}) {
    LinkRig rig;
    ASSERT_TRUE(rig.StartLinked());
    int requests = 0;
    rig.camera.script = [&](const Bytes&) -> std::optional<Bytes> {
      if (++requests % 3 == 0) return Bytes{};  // silence: the watchdog repeats it
      return std::nullopt;
    };
    write ? rig.engine.WriteButtonClick() : rig.engine.ReadButtonClick();
    ASSERT_TRUE(rig.RunUntilIdle(Ms(60000)));
    EXPECT_EQ(rig.window.mainStatus, "Finish") << write;
    EXPECT_EQ(rig.window.lamp, LampColour::Lime);
  }
}

TEST(EngineReadCamera, AnAddressChangeTakesEffectAtTheNextRequest) {
  LinkRig rig;
  ASSERT_TRUE(rig.StartLinked());
  rig.camera.silent = true;
  rig.engine.ReadButtonClick();
  rig.RunFor(Ms(50));
  ASSERT_EQ(rig.port.Frames().back().bytes, ReadBytes(1, kItemDNMode));
  rig.cameraAddress = 2;
  // The old camera's late answer no longer counts; the watchdog asks the new one.
  rig.Deliver(ReplyBytes(1, kReplyRead, kItemDNMode, 2));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::DNModeSel), 0);
  rig.RunFor(Ms(500));
  EXPECT_EQ(rig.port.Frames().back().bytes, ReadBytes(2, kItemDNMode));
  rig.Deliver(ReplyBytes(2, kReplyRead, kItemDNMode, 2));
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::DNModeSel), 2);
  EXPECT_EQ(rig.port.Frames().back().bytes, ReadBytes(2, kItemDNLevel));
}

TEST(EngineImageDelay, ReadFillsBothCodes) {
  LinkRig rig;
  rig.camera.values[kItemColToWb] = 3;
  rig.camera.values[kItemWbToCol] = kDelayCodeSpecial;
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.engine.ReadImageDelayClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(1000)));
  EXPECT_EQ(FrameBytes(rig.port.Frames()),
            (std::vector<Bytes>{ReadBytes(1, kItemColToWb), ReadBytes(1, kItemWbToCol)}));
  EXPECT_EQ(rig.window.Texts(StatusPanel::Dialog),
            (std::vector<std::string>{"Transfer data...", "Transfer data....", "Finsh"}));
  EXPECT_EQ(rig.window.Texts(StatusPanel::Main), std::vector<std::string>{"Finish"});
  EXPECT_EQ(rig.state.ColToWbCode, 3);
  EXPECT_EQ(rig.state.WbToColCode, kDelayCodeSpecial);
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::ColToWbComboBox), 3);
  EXPECT_EQ(rig.panel.ItemIndex(PanelControl::WbToColComboBox), -1);
}

TEST(EngineImageDelay, WriteSendsBothCodesUnchanged) {
  LinkRig rig;
  rig.state.ColToWbCode = 2;
  rig.state.WbToColCode = kDelayCodeSpecial;
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.engine.WriteImageDelayClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(1000)));
  EXPECT_EQ(FrameBytes(rig.port.Frames()),
            (std::vector<Bytes>{WriteBytes(1, kItemColToWb, 2),
                                WriteBytes(1, kItemWbToCol, kDelayCodeSpecial)}));
  EXPECT_EQ(rig.window.Texts(StatusPanel::Dialog),
            (std::vector<std::string>{"Transfer data...", "Transfer data....", "Finsh"}));
  EXPECT_EQ(rig.camera.values[kItemWbToCol], kDelayCodeSpecial);
}

TEST(EngineImageDelay, RefusedWriteEndsWithTransferError) {
  LinkRig rig;
  rig.state.ColToWbCode = 2;
  rig.camera.keeps[kItemColToWb] = 0;
  ASSERT_TRUE(rig.StartLinked());
  rig.ClearRecords();
  rig.engine.WriteImageDelayClick();
  ASSERT_TRUE(rig.RunUntilIdle(Ms(1000)));
  EXPECT_EQ(rig.camera.Heard(kCmdWrite, kItemColToWb), QamProtocol::kWriteRefusalLimit);
  EXPECT_EQ(rig.camera.Heard(kCmdWrite, kItemWbToCol), 0u);
  EXPECT_EQ(rig.window.dialogStatus, "Transfer ERROR..");
  EXPECT_EQ(rig.engine.LastTransferEnd(), TransferEnd::Refused);
  EXPECT_EQ(rig.state.ColToWbPending, 0);
  EXPECT_EQ(rig.state.WbToColPending, 0);
  EXPECT_EQ(rig.window.lamp, LampColour::Lime);
}

}  // namespace
