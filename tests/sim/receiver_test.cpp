// The camera's frame receiver.
#include <gtest/gtest.h>

#include "link/line_splitter.h"

using Bytes = std::vector<uint8_t>;

namespace {

std::vector<LinePiece> Feed(LineSplitter& receiver, const Bytes& bytes, int64_t nowUs) {
  return receiver.Feed(bytes.data(), bytes.size(), nowUs);
}

}  // namespace

TEST(SimReceiver, CollectsTenBytesFromTheStartByteWith0xCCInside) {
  LineSplitter receiver({kProtocolPelcoP});
  const auto events = Feed(receiver, {0x11, 0xCC, 1, 1, 1, 0xCC, 0xCC, 0, 0, 0, 0x9C, 0xCC}, 0);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, LinePieceKind::Garbage);
  EXPECT_EQ(events[0].bytes, Bytes{0x11});
  EXPECT_EQ(events[1].kind, LinePieceKind::Frame);
  EXPECT_EQ(events[1].bytes, (Bytes{0xCC, 1, 1, 1, 0xCC, 0xCC, 0, 0, 0, 0x9C}));
  EXPECT_EQ(receiver.Deadline(), 200000);  // the trailing 0xCC opened the next frame
}

TEST(SimReceiver, DropsAPartialFrameExactlyAt200MsAfterTheLastByte) {
  LineSplitter receiver({kProtocolPelcoP});
  EXPECT_TRUE(Feed(receiver, {0xCC, 1, 1}, 1000).empty());
  EXPECT_TRUE(Feed(receiver, {1}, 150000).empty());
  EXPECT_TRUE(receiver.Expire(349999).empty());
  const auto events = receiver.Expire(350000);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, LinePieceKind::Partial);
  EXPECT_EQ(events[0].bytes, (Bytes{0xCC, 1, 1, 1}));
  EXPECT_EQ(receiver.Deadline(), -1);
}

TEST(SimReceiver, LateBytesStartAfreshEvenWithoutATimerTick) {
  LineSplitter receiver({kProtocolPelcoP});
  Feed(receiver, {0xCC, 1, 1, 1, 2}, 0);
  const auto events = Feed(receiver, {0xCC, 1, 1, 1, 2, 0, 0, 0, 0, 5}, 250000);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, LinePieceKind::Partial);
  EXPECT_EQ(events[1].kind, LinePieceKind::Frame);
}

TEST(SimReceiver, PtzFramesOfItsOwnProtocolOnly) {
  LineSplitter pelcoD({kProtocolPelcoD});
  auto events = Feed(pelcoD, {0xA0, 0x00, 0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x48}, 0);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, LinePieceKind::Garbage);
  EXPECT_EQ(events[1].kind, LinePieceKind::Ptz);
  EXPECT_EQ(events[1].bytes.size(), 7u);

  LineSplitter pelcoP({kProtocolPelcoP});
  events = Feed(pelcoP, {0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x38}, 0);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].bytes.size(), 8u);
}

TEST(SimReceiver, ErnitecLengthFollowsBytes2And3) {
  LineSplitter receiver({kProtocolErnitec});
  auto events =
      Feed(receiver, {0x02, 0x00, 0x02, 0x5F, 0x63, 0x02, 0x00, 0x01, 0x04, 0x00, 0x07}, 0);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].bytes.size(), 5u);
  EXPECT_EQ(events[1].bytes.size(), 6u);
  events = Feed(receiver, {0x02, 0x00, 0x0C, 0x80, 0x00, 0x00}, 10);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].bytes.size(), 6u);
  events = Feed(receiver, {0x02, 0x00, 0x0C, 0x81, 0x00}, 20);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].bytes.size(), 5u);
}
