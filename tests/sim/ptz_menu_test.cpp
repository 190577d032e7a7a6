// PTZ frames of the three protocols as the camera reads them, and the
// on-screen menu they move.
#include <gtest/gtest.h>

#include "link/camera_items.h"
#include "link/line_splitter.h"
#include "link/ptz_decoder.h"
#include "link/ptz_frames.h"
#include "tests/sim/sim_harness.h"

using Bytes = std::vector<uint8_t>;

namespace {

PtzDecoded Decode(PtzProtocol protocol, const Bytes& frame, uint8_t address) {
  return DecodePtzFrame(protocol, frame.data(), frame.size(), address);
}

Bytes Frame(PtzProtocol protocol, PtzCommand command, uint8_t address) {
  uint8_t buffer[kPtzFrameSize] = {};
  const PtzFrameRef ref = BuildPtzFrame(buffer, protocol, command, address);
  return Bytes(ref.data, ref.data + ref.length);
}

struct TWorkedExample {
  PtzProtocol protocol;
  uint8_t address;
  Bytes frame;
  PtzAction action;
  uint8_t preset;
};

}  // namespace

TEST(SimPtz, DecodesTheWorkedExamplesOfAllThreeProtocols) {
  using A = PtzAction;
  const TWorkedExample examples[] = {
      {kProtocolPelcoP, 1, {0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x38}, A::Up, 0},
      {kProtocolPelcoP, 1, {0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0xAF, 0x0F}, A::Stop, 0},
      {kProtocolPelcoP, 1, {0xA0, 0x00, 0x04, 0x00, 0x00, 0x00, 0xAF, 0x0B}, A::Select, 0},
      {kProtocolPelcoP, 1, {0xA0, 0x00, 0x00, 0x03, 0x00, 0x5F, 0xAF, 0x53}, A::SetPreset, 95},
      {kProtocolPelcoP, 37, {0xA0, 0x24, 0x00, 0x10, 0x00, 0x3F, 0xAF, 0x04}, A::Down, 0},
      {kProtocolPelcoP, 37, {0xA0, 0x24, 0x00, 0x07, 0x00, 0x58, 0xAF, 0x74}, A::GotoPreset, 88},
      {kProtocolPelcoP, 199, {0xA0, 0xC6, 0x00, 0x07, 0x00, 0x59, 0xAF, 0x97}, A::GotoPreset, 89},
      {kProtocolPelcoD, 1, {0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x48}, A::Up, 0},
      {kProtocolPelcoD, 1, {0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01}, A::Stop, 0},
      {kProtocolPelcoD, 1, {0xFF, 0x01, 0x02, 0x00, 0x00, 0x00, 0x03}, A::Select, 0},
      {kProtocolPelcoD, 1, {0xFF, 0x01, 0x00, 0x03, 0x00, 0x5F, 0x63}, A::SetPreset, 95},
      {kProtocolPelcoD, 37, {0xFF, 0x25, 0x00, 0x10, 0x00, 0x3F, 0x74}, A::Down, 0},
      {kProtocolPelcoD, 37, {0xFF, 0x25, 0x00, 0x07, 0x00, 0x58, 0x84}, A::GotoPreset, 88},
      {kProtocolPelcoD, 199, {0xFF, 0xC7, 0x00, 0x07, 0x00, 0x59, 0x27}, A::GotoPreset, 89},
      {kProtocolErnitec, 1, {0x02, 0x00, 0x01, 0x04, 0x00, 0x07}, A::Up, 0},
      {kProtocolErnitec, 1, {0x02, 0x00, 0x01, 0x00, 0x00, 0x03}, A::Stop, 0},
      {kProtocolErnitec, 1, {0x02, 0x00, 0x01, 0x00, 0x01, 0x04}, A::Select, 0},
      {kProtocolErnitec, 1, {0x02, 0x00, 0x02, 0x5F, 0x63}, A::GotoPreset, 95},
      {kProtocolErnitec, 37, {0x02, 0x24, 0x01, 0x08, 0x00, 0x2F}, A::Down, 0},
      {kProtocolErnitec, 37, {0x02, 0x24, 0x02, 0x58, 0x80}, A::GotoPreset, 88},
      {kProtocolErnitec, 199, {0x02, 0xC6, 0x02, 0x59, 0x23}, A::GotoPreset, 89},
  };
  for (const TWorkedExample& example : examples) {
    const PtzDecoded decoded = Decode(example.protocol, example.frame, example.address);
    SCOPED_TRACE(HexBytes(example.frame.data(), example.frame.size()));
    EXPECT_TRUE(decoded.accepted) << decoded.reason;
    EXPECT_EQ(decoded.action, example.action);
    EXPECT_EQ(decoded.preset, example.preset);
    // Addressed to another camera, the same frame is not obeyed.
    EXPECT_FALSE(Decode(example.protocol, example.frame, static_cast<uint8_t>(example.address + 1))
                     .accepted);
    Bytes corrupt = example.frame;
    corrupt.back() ^= 0x40;
    EXPECT_EQ(Decode(example.protocol, corrupt, example.address).reason, "bad checksum");
  }
}

TEST(SimPtz, CameraObeysOnlyItsOwnProtocolAndAddress) {
  TCameraConfig config;
  config.protocol = kProtocolPelcoD;
  TSimHarness camera(config);
  camera.Send(Frame(kProtocolPelcoP, PtzCommand::OsdOn, 1));
  camera.Send(Frame(kProtocolErnitec, PtzCommand::OsdOn, 1));
  camera.Send(Frame(kProtocolPelcoD, PtzCommand::OsdOn, 2));
  camera.Advance(300000);
  EXPECT_FALSE(camera.sim.Menu().IsOpen());
  EXPECT_TRUE(camera.TraceHas("PELCO D set preset 95 addr 2, dropped: camera is addr 1"));
  camera.Send(Frame(kProtocolPelcoD, PtzCommand::OsdOn, 1));
  EXPECT_TRUE(camera.sim.Menu().IsOpen());
  EXPECT_TRUE(camera.TraceHas("RX FF 01 00 03 00 5F 63 PELCO D set preset 95 addr 1"));
  // PTZ frames get no answer.
  EXPECT_TRUE(camera.sent.empty());
}

TEST(SimPtz, PartialPtzFrameIsDroppedAfter200Ms) {
  TCameraConfig config;
  config.protocol = kProtocolErnitec;
  TSimHarness camera(config);
  const Bytes osd = Frame(kProtocolErnitec, PtzCommand::OsdOn, 1);
  camera.Send({osd.begin(), osd.begin() + 3});
  camera.Advance(200000);
  camera.Send({osd.begin() + 3, osd.end()});
  camera.Advance(200000);
  EXPECT_FALSE(camera.sim.Menu().IsOpen());
  EXPECT_TRUE(camera.TraceHas("RX 02 00 02 dropped: partial frame"));
}

// The buttons of the tool, as the frames they send.
class SimMenu : public ::testing::TestWithParam<PtzProtocol> {
 protected:
  SimMenu() : camera_(Config()) {}

  static TCameraConfig Config() {
    TCameraConfig config;
    config.protocol = GetParam();
    config.address = 37;
    return config;
  }

  void Press(PtzCommand command) {
    camera_.Send(Frame(GetParam(), command, 37));
    // Up and Down are followed by Stop at once, as the tool sends them.
    if (command == PtzCommand::Up || command == PtzCommand::Down) {
      camera_.Send(Frame(GetParam(), PtzCommand::Stop, 37));
    }
    camera_.Advance(50000);
  }

  TSimHarness camera_;
};

TEST_P(SimMenu, OsdOnOpensAndTheButtonsMoveTheMenu) {
  const OsdMenu& menu = camera_.sim.Menu();
  Press(PtzCommand::Down);  // a closed menu ignores movement
  EXPECT_FALSE(menu.IsOpen());
  EXPECT_TRUE(camera_.menuLines.empty());

  Press(PtzCommand::OsdOn);
  ASSERT_TRUE(menu.IsOpen());
  EXPECT_EQ(menu.CursorItem(), kItemDNMode);
  EXPECT_FALSE(camera_.menuLines.empty());

  Press(PtzCommand::Down);
  Press(PtzCommand::Down);
  EXPECT_EQ(menu.CursorItem(), kItemDNFil);
  Press(PtzCommand::Up);
  EXPECT_EQ(menu.CursorItem(), kItemDNLevel);

  // Select enters the entry; Up and Down then change its value in the camera.
  Press(PtzCommand::Select);
  EXPECT_TRUE(menu.Editing());
  Press(PtzCommand::Down);
  EXPECT_EQ(camera_.sim.Model().Value(kItemDNLevel), 0);
  EXPECT_EQ(menu.CursorItem(), kItemDNLevel);
  Press(PtzCommand::Select);
  EXPECT_FALSE(menu.Editing());
  // A read now reports what the menu set.
  EXPECT_EQ(camera_.Exchange(Read(37, kItemDNLevel)), Reply(37, 0x81, kItemDNLevel, 0));

  // Up from the top wraps to EXIT; Select there closes the menu.
  Press(PtzCommand::Up);
  Press(PtzCommand::Up);
  EXPECT_EQ(menu.CursorItem(), 0);
  Press(PtzCommand::Select);
  EXPECT_FALSE(menu.IsOpen());
}

TEST_P(SimMenu, ColourAndWhiteBalancePresetsAreRecorded) {
  const OsdMenu& menu = camera_.sim.Menu();
  Press(PtzCommand::Colour);
  EXPECT_EQ(menu.LastPreset(), 88);
  Press(PtzCommand::WhiteBalance);
  EXPECT_EQ(menu.LastPreset(), 89);
  EXPECT_EQ(menu.PresetCalls(), 2);
  EXPECT_FALSE(menu.IsOpen());
  bool shown = false;
  for (const std::string& line : camera_.menuLines) {
    shown = shown || line.find("MENU preset 89 (White balance) called") != std::string::npos;
  }
  EXPECT_TRUE(shown);
}

TEST_P(SimMenu, PrintsTheMenuWhenItChanges) {
  Press(PtzCommand::OsdOn);
  Press(PtzCommand::Down);
  const auto& lines = camera_.menuLines;
  ASSERT_FALSE(lines.empty());
  size_t cursorLines = 0;
  for (const std::string& line : lines) {
    if (line.find("MENU  > D/N LEVEL  HIGH") != std::string::npos) ++cursorLines;
  }
  EXPECT_EQ(cursorLines, 1u);
  const size_t before = lines.size();
  Press(PtzCommand::Stop);  // nothing changes, nothing printed
  EXPECT_EQ(lines.size(), before);
}

// Every row of the protocol table, named by its menu item.
INSTANTIATE_TEST_SUITE_P(AllProtocols, SimMenu, ::testing::ValuesIn(AllPtzProtocols()),
                         [](const ::testing::TestParamInfo<PtzProtocol>& param) {
                           return std::string(PtzProtocolOf(param.param).menuItem);
                         });

TEST(SimMenuModel, CameraOnlyValuesStepIntoTheWritableRange) {
  TCameraConfig config;
  config.iris = true;
  CameraModel model(config);
  OsdMenu menu(model);
  PtzDecoded command;
  command.accepted = true;
  command.action = PtzAction::GotoPreset;
  command.preset = kPresetOsdOn;
  menu.Apply(command);
  command.action = PtzAction::Down;
  while (menu.CursorItem() != kItemShutter) menu.Apply(command);
  command.action = PtzAction::Select;
  menu.Apply(command);
  command.action = PtzAction::Up;
  EXPECT_TRUE(menu.Apply(command));
  EXPECT_EQ(model.Value(kItemShutter), 0);
  command.action = PtzAction::Down;
  menu.Apply(command);
  EXPECT_EQ(model.Value(kItemShutter), 8);
}
