// The settings protocol as the simulated camera answers it, on a virtual clock.
#include <gtest/gtest.h>

#include "link/camera_items.h"
#include "tests/sim/sim_harness.h"

using Bytes = std::vector<uint8_t>;

TEST(SimProtocol, AnswersPollAtOnceWithItsAddress) {
  TSimHarness camera;
  camera.Send(Poll(1));
  ASSERT_EQ(camera.sent.size(), 1u);
  EXPECT_EQ(camera.sent[0].atUs, 0);
  EXPECT_EQ(camera.sent[0].bytes, (Bytes{0xCC, 0x01, 0x01, 0x01, 0x82, 0, 0, 0, 0, 0x85}));
}

TEST(SimProtocol, ReadsEveryItemWithItsDefault) {
  TSimHarness camera;
  EXPECT_EQ(camera.Exchange({0xCC, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05}),
            (Bytes{0xCC, 0x01, 0x01, 0x01, 0x81, 0x01, 0x00, 0x00, 0x00, 0x85}));
  for (const CameraItem& item : CameraItems()) {
    if (item.kind == ItemKind::IdText) continue;
    EXPECT_EQ(camera.Exchange(Read(1, item.code)), Reply(1, 0x81, item.code, item.defaultValue))
        << item.statusWord;
  }
}

TEST(SimProtocol, ReadsTheIdTextOnePositionAtATime) {
  TSimHarness blank;
  EXPECT_EQ(blank.Exchange(Read(1, kItemId, 3)), Reply(1, 0x81, kItemId, 3, 0x00));

  TCameraConfig config;
  config.hasIdText = true;
  config.idText = "CAM 7";
  TSimHarness camera(config);
  const std::string expected = "CAM 7           ";
  for (uint8_t position = 0; position < 16; ++position) {
    EXPECT_EQ(camera.Exchange(Read(1, kItemId, position)),
              Reply(1, 0x81, kItemId, position, static_cast<uint8_t>(expected[position])));
  }
  // The camera has no position 16: no character comes back.
  EXPECT_EQ(camera.Exchange(Read(1, kItemId, 16)), Reply(1, 0x81, kItemId, 16, 0x00));
}

TEST(SimProtocol, WriteStoresAValidValueAndAnswersIt) {
  TCameraConfig config;
  config.address = 23;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange({0xCC, 0x01, 0x01, 0x17, 0x03, 0x09, 0x03, 0x00, 0x00, 0x28}),
            Reply(23, 0x83, kItemWhiteBal, 3));
  EXPECT_EQ(camera.Exchange(Read(23, kItemWhiteBal)), Reply(23, 0x81, kItemWhiteBal, 3));
  EXPECT_EQ(camera.Exchange(Write(23, kItemRedGain, 63)), Reply(23, 0x83, kItemRedGain, 63));
  EXPECT_EQ(camera.Exchange(Write(23, kItemColToWb, 0x50)), Reply(23, 0x83, kItemColToWb, 0x50));
  EXPECT_EQ(camera.Exchange(Write(23, kItemWbToCol, 3)), Reply(23, 0x83, kItemWbToCol, 3));
}

TEST(SimProtocol, WriteOfAnInvalidValueAnswersTheValueHeld) {
  TSimHarness camera;
  EXPECT_EQ(camera.Exchange(Write(1, kItemDNFil, 7)), Reply(1, 0x83, kItemDNFil, 1));
  // IRIS and "---" are only ever reported, never taken.
  EXPECT_EQ(camera.Exchange(Write(1, kItemShutter, 9)), Reply(1, 0x83, kItemShutter, 0));
  EXPECT_EQ(camera.Exchange(Write(1, kItemSync, 2)), Reply(1, 0x83, kItemSync, 0));
  EXPECT_EQ(camera.Exchange(Write(1, kItemWhiteBal, 4)), Reply(1, 0x83, kItemWhiteBal, 0));
  EXPECT_EQ(camera.Exchange(Write(1, kItemBlueGain, 64)), Reply(1, 0x83, kItemBlueGain, 15));
  EXPECT_EQ(camera.Exchange(Write(1, kItemColToWb, 4)), Reply(1, 0x83, kItemColToWb, 1));
  EXPECT_EQ(camera.sim.Model().Value(kItemDNFil), 1);
}

TEST(SimProtocol, WritesIdCharactersItAccepts) {
  TCameraConfig config;
  config.address = 199;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange({0xCC, 0x01, 0x01, 0xC7, 0x03, 0x0A, 0x05, 0x41, 0x00, 0x1C}),
            Reply(199, 0x83, kItemId, 5, 'A'));
  EXPECT_EQ(camera.sim.Model().IdChar(5), 'A');
  // A small letter is not an ID character: the camera keeps what it had.
  EXPECT_EQ(camera.Exchange(Write(199, kItemId, 5, 'a')), Reply(199, 0x83, kItemId, 5, 'A'));
  EXPECT_EQ(camera.Exchange(Write(199, kItemId, 16, 'B')), Reply(199, 0x83, kItemId, 16, 0));
}

TEST(SimProtocol, ProtocolStateReplyCarriesAddressBaudAndProtocol) {
  TCameraConfig config;
  config.address = 37;
  config.baud = 9600;
  config.protocol = kProtocolPelcoD;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange({0xCC, 0x01, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x06}, 9600),
            (Bytes{0xCC, 0x01, 0x01, 0x25, 0x84, 0x03, 0x01, 0x00, 0x00, 0xAF}));
}

TEST(SimProtocol, ProtocolSpeedIsLoggedAndNotAnswered) {
  TSimHarness camera;
  EXPECT_TRUE(
      camera.Exchange({0xCC, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x08}).empty());
  EXPECT_TRUE(camera.TraceHas("RX CC 01 01 00 06 00 00 00 00 08 protocol speed"));
}

TEST(SimProtocol, DropsCorruptForeignAndUnknownFrames) {
  TSimHarness camera;
  Bytes badSum = Poll(1);
  badSum[9] ^= 0x01;
  EXPECT_TRUE(camera.Exchange(badSum).empty());
  EXPECT_TRUE(camera.TraceHas("dropped: bad checksum"));
  EXPECT_TRUE(camera.Exchange(Poll(5)).empty());
  EXPECT_TRUE(camera.Exchange(Read(2, kItemGain)).empty());
  EXPECT_TRUE(camera.Exchange(Write(0, kItemGain, 1)).empty());
  EXPECT_EQ(camera.sim.Model().Value(kItemGain), 0);
  Bytes wrongHeader = Poll(1);
  wrongHeader[2] = 0x02;
  wrongHeader[9] = FrameChecksum(wrongHeader.data());
  EXPECT_TRUE(camera.Exchange(wrongHeader).empty());
  Bytes unknown = Poll(1);
  unknown[4] = 0x05;
  unknown[9] = FrameChecksum(unknown.data());
  EXPECT_TRUE(camera.Exchange(unknown).empty());
  EXPECT_EQ(camera.sim.Replies(), 0);
  // The next good frame is answered.
  EXPECT_EQ(camera.Exchange(Poll(1)), Reply(1, 0x82, 0, 0));
}

TEST(SimProtocol, PartialFrameIsDroppedAfter200Ms) {
  TSimHarness camera;
  const Bytes poll = Poll(1);
  camera.Send({poll.begin(), poll.begin() + 6});
  camera.Advance(199999);
  EXPECT_FALSE(camera.TraceHas("partial"));
  camera.Advance(1);
  EXPECT_TRUE(camera.TraceHas("RX CC 01 01 01 02 00 dropped: partial frame"));
  // The rest holds no start byte, so it is skipped rather than taken as a frame.
  camera.Send({poll.begin() + 6, poll.end()});
  camera.Advance(1000000);
  EXPECT_TRUE(camera.TakeOutput().empty());
  EXPECT_EQ(camera.Exchange(poll), Reply(1, 0x82, 0, 0));
}

TEST(SimProtocol, FrameWithGapsBelow200MsIsAssembled) {
  TSimHarness camera;
  const Bytes poll = Poll(1);
  camera.Send({poll.begin(), poll.begin() + 3});
  camera.Advance(199999);
  camera.Send({poll.begin() + 3, poll.begin() + 7});
  camera.Advance(199999);
  camera.Send({poll.begin() + 7, poll.end()});
  ASSERT_EQ(camera.sent.size(), 1u);
  EXPECT_EQ(camera.sent[0].bytes, Reply(1, 0x82, 0, 0));
}

TEST(SimProtocol, SkipsBytesBeforeTheStartAndTakesTwoFramesInOneRead) {
  TSimHarness camera;
  Bytes bytes = {0x00, 0x55};
  const Bytes poll = Poll(1);
  const Bytes read = Read(1, kItemAperture);
  bytes.insert(bytes.end(), poll.begin(), poll.end());
  bytes.insert(bytes.end(), read.begin(), read.end());
  const Bytes answers = camera.Exchange(bytes);
  Bytes expected = Reply(1, 0x82, 0, 0);
  const Bytes second = Reply(1, 0x81, kItemAperture, 2);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(answers, expected);
  EXPECT_TRUE(camera.TraceHas("RX 00 55 garbage 2 bytes"));
}

TEST(SimProtocol, SilentAtAnotherLineSpeed) {
  TSimHarness camera;  // 4800 baud
  for (const int baud : {1200, 2400, 9600, 38400}) {
    EXPECT_TRUE(camera.Exchange(Poll(1), baud).empty()) << baud;
  }
  EXPECT_TRUE(camera.TraceHas("ignored: line at 9600 baud, camera at 4800"));
  // A frame begun at the right speed and finished at another is lost too.
  const Bytes poll = Poll(1);
  camera.Send({poll.begin(), poll.begin() + 5}, 4800);
  camera.Send({poll.begin() + 5, poll.end()}, 9600);
  camera.Advance(1000000);
  EXPECT_TRUE(camera.TakeOutput().empty());
  EXPECT_EQ(camera.Exchange(Poll(1), 4800), Reply(1, 0x82, 0, 0));
}

TEST(SimProtocol, TraceShowsEachFrameWithTimeDirectionHexAndName) {
  TSimHarness camera;
  camera.Advance(12345000);
  camera.Send(Poll(1, 1));
  camera.Exchange(Write(1, kItemWhiteBal, 3));
  ASSERT_GE(camera.traceLines.size(), 4u);
  EXPECT_EQ(camera.traceLines[0],
            "12.345 RX CC 01 01 01 02 00 00 01 00 06 poll addr 1 proto PELCO D");
  EXPECT_EQ(camera.traceLines[1], "12.345 TX CC 01 01 01 82 00 00 00 00 85 poll reply addr 1");
  EXPECT_EQ(camera.traceLines[2],
            "12.345 RX CC 01 01 01 03 09 03 00 00 12 write WHITE BAL = 3 (MANUAL) addr 1");
  EXPECT_EQ(camera.traceLines[3],
            "12.345 TX CC 01 01 01 83 09 03 00 00 92 write reply WHITE BAL = 3 (MANUAL) addr 1");
}

// Several cameras on one line, each with its own settings: 1 and 2 answer for
// themselves, 3 never answers, 5 is there twice and the two replies collide.
TEST(SimLine, EachCameraAnswersItsOwnAddressAndTwinsCollide) {
  std::vector<TCameraConfig> cameras(5);
  const uint8_t addresses[] = {1, 2, 3, 5, 5};
  for (size_t i = 0; i < cameras.size(); ++i) {
    cameras[i].address = addresses[i];
    cameras[i].startValues[kItemShutter] = static_cast<uint8_t>(i + 1);
  }
  cameras[2].silentAfter = 0;
  TSimHarness line(cameras);
  Bytes getState(kFrameSize);
  BuildGetProtocolStateFrame(getState.data());
  const struct {
    Bytes request;
    Bytes reply;  // empty: no answer, or a collision
    bool collision;
    const char* trace;
  } table[] = {
      {Read(1, kItemShutter), Reply(1, 0x81, kItemShutter, 1), false, "read SHUTTER addr 1"},
      {Read(2, kItemShutter), Reply(2, 0x81, kItemShutter, 2), false, "read SHUTTER addr 2"},
      {Write(2, kItemShutter, 7), Reply(2, 0x83, kItemShutter, 7), false, "write reply SHUTTER"},
      {Read(1, kItemShutter), Reply(1, 0x81, kItemShutter, 1), false, "read reply SHUTTER"},
      {Poll(3), {}, false, "poll addr 3 proto PELCO P, not answered (silent)"},
      {Poll(9), {}, false, "poll addr 9 proto PELCO P, dropped: no camera at addr 9"},
      {Read(5, kItemShutter), {}, true, "collision of 2 replies: dropped: bad checksum"},
      {Poll(5), {}, true, "collision of 2 replies: dropped: bad checksum"},
      {getState, {}, true, "collision of 4 replies"},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.trace);
    const Bytes heard = line.Exchange(row.request);
    EXPECT_TRUE(line.TraceHas(row.trace));
    if (!row.collision) {
      EXPECT_EQ(heard, row.reply);
      continue;
    }
    // Start byte and address may survive; the checksum never does.
    ASSERT_EQ(heard.size(), kFrameSize);
    EXPECT_EQ(heard[0], kFrameStart);
    if (row.request[3] != 0) {
      EXPECT_EQ(heard[3], row.request[3]);
    }
    EXPECT_NE(FrameChecksum(heard.data()), heard[9]);
  }
  EXPECT_EQ(line.sim.Model(1).Value(kItemShutter), 7);
  EXPECT_EQ(line.sim.Model(0).Value(kItemShutter), 1);
}
