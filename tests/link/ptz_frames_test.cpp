#include "link/ptz_frames.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "link/line_splitter.h"
#include "link/ptz_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Build(PtzProtocol protocol, PtzCommand command, uint8_t address) {
  uint8_t buffer[kPtzFrameSize] = {};
  const PtzFrameRef frame = BuildPtzFrame(buffer, protocol, command, address);
  return Bytes(frame.data, frame.data + frame.length);
}

struct Example {
  PtzCommand command;
  uint8_t address;
  Bytes pelcoP, pelcoD, ernitec;
};

TEST(PtzFrames, WorkedExamplesInAllThreeProtocols) {
  const std::vector<Example> examples = {
      {PtzCommand::Up,
       1,
       {0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x38},
       {0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x48},
       {0x02, 0x00, 0x01, 0x04, 0x00, 0x07}},
      {PtzCommand::Stop,
       1,
       {0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0xAF, 0x0F},
       {0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01},
       {0x02, 0x00, 0x01, 0x00, 0x00, 0x03}},
      {PtzCommand::Select,
       1,
       {0xA0, 0x00, 0x04, 0x00, 0x00, 0x00, 0xAF, 0x0B},
       {0xFF, 0x01, 0x02, 0x00, 0x00, 0x00, 0x03},
       {0x02, 0x00, 0x01, 0x00, 0x01, 0x04}},
      {PtzCommand::OsdOn,
       1,
       {0xA0, 0x00, 0x00, 0x03, 0x00, 0x5F, 0xAF, 0x53},
       {0xFF, 0x01, 0x00, 0x03, 0x00, 0x5F, 0x63},
       {0x02, 0x00, 0x02, 0x5F, 0x63}},
      {PtzCommand::Down,
       37,
       {0xA0, 0x24, 0x00, 0x10, 0x00, 0x3F, 0xAF, 0x04},
       {0xFF, 0x25, 0x00, 0x10, 0x00, 0x3F, 0x74},
       {0x02, 0x24, 0x01, 0x08, 0x00, 0x2F}},
      {PtzCommand::Colour,
       37,
       {0xA0, 0x24, 0x00, 0x07, 0x00, 0x58, 0xAF, 0x74},
       {0xFF, 0x25, 0x00, 0x07, 0x00, 0x58, 0x84},
       {0x02, 0x24, 0x02, 0x58, 0x80}},
      {PtzCommand::WhiteBalance,
       199,
       {0xA0, 0xC6, 0x00, 0x07, 0x00, 0x59, 0xAF, 0x97},
       {0xFF, 0xC7, 0x00, 0x07, 0x00, 0x59, 0x27},
       {0x02, 0xC6, 0x02, 0x59, 0x23}},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(static_cast<int>(e.command));
    EXPECT_EQ(Build(kProtocolPelcoP, e.command, e.address), e.pelcoP);
    EXPECT_EQ(Build(kProtocolPelcoD, e.command, e.address), e.pelcoD);
    EXPECT_EQ(Build(kProtocolErnitec, e.command, e.address), e.ernitec);
  }
}

TEST(PtzFrames, AddressZeroWrapsInEightBits) {
  EXPECT_EQ(Build(kProtocolPelcoP, PtzCommand::Up, 0)[1], 0xFF);
  EXPECT_EQ(Build(kProtocolErnitec, PtzCommand::Up, 0)[1], 0xFF);
  EXPECT_EQ(Build(kProtocolPelcoD, PtzCommand::Up, 0)[1], 0x00);
}

TEST(PtzFrames, FramesOfOneProtocolLeaveTheOtherAreaAlone) {
  uint8_t buffer[kPtzFrameSize] = {};
  BuildPtzFrame(buffer, kProtocolErnitec, PtzCommand::Up, 1);
  BuildPtzFrame(buffer, kProtocolPelcoP, PtzCommand::Up, 1);
  const size_t ernitec = PtzProtocolOf(kProtocolErnitec).frameOffset;
  EXPECT_EQ(ernitec, 8u);
  EXPECT_EQ(Bytes(buffer + ernitec, buffer + ernitec + 6),
            (Bytes{0x02, 0x00, 0x01, 0x04, 0x00, 0x07}));
}

TEST(PtzFrames, ErnitecFormFollowsByteTwo) {
  EXPECT_EQ(ErnitecFrameLength(0x01, 0x00), 6u);
  EXPECT_EQ(ErnitecFrameLength(0x0D, 0x00), 6u);
  EXPECT_EQ(ErnitecFrameLength(0x0C, 0x80), 6u);
  EXPECT_EQ(ErnitecFrameLength(0x0C, 0x81), 5u);
  EXPECT_EQ(ErnitecFrameLength(0x02, 0x5F), 5u);
}

std::string SourceFile(const std::string& path) {
  std::ifstream in(std::string(ZELTA_SOURCE_DIR) + "/" + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every row is a whole protocol: its names, its frames built, read back by
// the decoder and the line splitter, its place in the buffer, and the pages
// that list the protocols. The simulator answers every row in SimMenu
// (tests/sim/ptz_menu_test.cpp), the window's menu is checked in
// tests/ui/main_window/control_port_test.cpp.
TEST(PtzProtocols, EveryRowIsComplete) {
  const std::string manPage = SourceFile("cli/zelta-cli.1");
  const std::string help = SourceFile("resources/help/ZELTAHELP.HLP");
  const std::string helpProtocolMenu = help.substr(help.find("<a name=\"21\">"), 80);
  std::set<std::string> names;
  for (size_t code = 0; code < PtzProtocolCount(); ++code) {
    const PtzProtocol protocol = PtzProtocolAt(code);
    const PtzProtocolRow& row = PtzProtocolOf(protocol);
    SCOPED_TRACE(std::string("protocol row ") + row.menuCaption);
    // Each kind of name tells the rows apart.
    const char* rowNames[] = {row.menuItem, row.displayName, row.commandName, row.shortName};
    for (size_t kind = 0; kind < std::size(rowNames); ++kind) {
      EXPECT_TRUE(names.insert(std::to_string(kind) + rowNames[kind]).second)
          << "name used twice: " << rowNames[kind];
    }
    EXPECT_EQ(ProtocolText(static_cast<uint8_t>(code)),
              std::string("Protocol Type : ") + row.displayName);
    EXPECT_NE(manPage.find(row.commandName), std::string::npos) << "cli/zelta-cli.1 --protocol";
    EXPECT_NE(helpProtocolMenu.find(row.menuCaption), std::string::npos)
        << "resources/help/ZELTAHELP.HLP, Protocol menu heading";
    for (size_t c = 0; c < kPtzCommandCount; ++c) {
      const Bytes frame = Build(protocol, static_cast<PtzCommand>(c), 37);
      ASSERT_LE(row.frameOffset + frame.size(), kPtzFrameSize);
      PtzProtocol found = kProtocolPelcoP;
      PtzDecoded decoded;
      ASSERT_TRUE(DecodeAnyPtzFrame(frame.data(), frame.size(), found, decoded));
      EXPECT_EQ(found, protocol) << "command " << c;
      EXPECT_TRUE(decoded.accepted) << decoded.reason;
      EXPECT_EQ(decoded.address, 37);
      EXPECT_NE(decoded.action, PtzAction::Other) << "command " << c;
      LineSplitter splitter(AllPtzProtocols());
      const auto pieces = splitter.Feed(frame.data(), frame.size(), 0);
      ASSERT_EQ(pieces.size(), 1u) << "command " << c;
      EXPECT_EQ(pieces[0].kind, LinePieceKind::Ptz);
      EXPECT_EQ(pieces[0].protocol, protocol);
      EXPECT_EQ(DescribeFrame(frame.data(), frame.size()).rfind(row.displayName, 0), 0u);
    }
  }
}

}  // namespace
