// The behaviour options: camera models that refuse values, and lines that
// deliver replies late, slowly, in pieces, with noise, or not at all.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/camera_items.h"
#include "sim/output_queue.h"
#include "tests/sim/sim_harness.h"

using Bytes = std::vector<uint8_t>;

TEST(SimBehaviour, IrisReportsShutter9UntilAShutterIsWritten) {
  TCameraConfig config;
  config.iris = true;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Read(1, kItemShutter)), Reply(1, 0x81, kItemShutter, 9));
  EXPECT_EQ(camera.Exchange(Write(1, kItemShutter, 3)), Reply(1, 0x83, kItemShutter, 3));
  EXPECT_EQ(camera.Exchange(Read(1, kItemShutter)), Reply(1, 0x81, kItemShutter, 3));
}

TEST(SimBehaviour, DcSyncReportsAndKeepsSync2) {
  TCameraConfig config;
  config.dcSync = true;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Read(1, kItemSync)), Reply(1, 0x81, kItemSync, 2));
  EXPECT_EQ(camera.Exchange(Write(1, kItemSync, 1)), Reply(1, 0x83, kItemSync, 2));
  EXPECT_EQ(camera.Exchange(Write(1, kItemSync, 0)), Reply(1, 0x83, kItemSync, 2));
}

TEST(SimBehaviour, AiLensRefusesShutterAutoWithItsOwnValue) {
  TCameraConfig config;
  config.aiLens = true;
  config.startValues[kItemShutter] = 5;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Write(1, kItemShutter, 0)), Reply(1, 0x83, kItemShutter, 5));
  EXPECT_EQ(camera.Exchange(Write(1, kItemShutter, 3)), Reply(1, 0x83, kItemShutter, 3));
  EXPECT_EQ(camera.Exchange(Write(1, kItemShutter, 0)), Reply(1, 0x83, kItemShutter, 3));

  // With an iris lens the refusal carries IRIS, as a panel read from it writes AUTO back.
  config.iris = true;
  config.startValues.clear();
  TSimHarness iris(config);
  EXPECT_EQ(iris.Exchange(Write(1, kItemShutter, 0)), Reply(1, 0x83, kItemShutter, 9));
}

TEST(SimBehaviour, RefusedItemIsAnsweredWithAnotherValue) {
  TCameraConfig config;
  config.refused = {kItemGain, kItemId, kItemRedGain};
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Write(1, kItemGain, 1)), Reply(1, 0x83, kItemGain, 0));
  // Writing the value it holds still gets another one back.
  EXPECT_EQ(camera.Exchange(Write(1, kItemGain, 0)), Reply(1, 0x83, kItemGain, 1));
  EXPECT_EQ(camera.sim.Model().Value(kItemGain), 0);
  EXPECT_EQ(camera.Exchange(Write(1, kItemRedGain, 15)), Reply(1, 0x83, kItemRedGain, 16));
  const Bytes idReply = camera.Exchange(Write(1, kItemId, 2, 'X'));
  ASSERT_EQ(idReply.size(), kFrameSize);
  EXPECT_EQ(idReply[6], 2);
  EXPECT_NE(idReply[7], 'X');
  // Other items are written as usual.
  EXPECT_EQ(camera.Exchange(Write(1, kItemBlc, 4)), Reply(1, 0x83, kItemBlc, 4));
}

TEST(SimBehaviour, ReplyDelayHoldsTheReplyBack) {
  TCameraConfig config;
  config.replyDelayMs = 150;
  TSimHarness camera(config);
  camera.Send(Poll(1));
  camera.Advance(149999);
  EXPECT_TRUE(camera.sent.empty());
  camera.Advance(1);
  ASSERT_EQ(camera.sent.size(), 1u);
  EXPECT_EQ(camera.sent[0].atUs, 150000);
  EXPECT_EQ(camera.sent[0].bytes, Reply(1, 0x82, 0, 0));
}

TEST(SimBehaviour, LineTimingSendsEachByteAfterItsTimeOnTheLine) {
  TCameraConfig config;
  config.lineTiming = true;
  config.baud = 1200;
  TSimHarness camera(config);
  camera.Send(Poll(1), 1200);
  camera.Advance(1000000);
  ASSERT_EQ(camera.sent.size(), kFrameSize);
  // The camera hears the poll once its ten bytes have crossed the line.
  const int64_t heard = ByteTimeUs(1200, kFrameSize);
  for (size_t i = 0; i < kFrameSize; ++i) {
    EXPECT_EQ(camera.sent[i].atUs, heard + static_cast<int64_t>((i + 1) * 10000000 / 1200)) << i;
    EXPECT_EQ(camera.sent[i].bytes.size(), 1u);
  }
  EXPECT_EQ(camera.sent.back().atUs, 166666);  // request and reply, ten bytes each at 1200 baud
  EXPECT_EQ(camera.TakeOutput(), Reply(1, 0x82, 0, 0));
  EXPECT_EQ(ByteTimeUs(4800, 10), 20833);
  EXPECT_EQ(ByteTimeUs(9600, 1), 1041);
}

TEST(SimBehaviour, TraceStampsInMicroseconds) {
  std::vector<std::string> lines;
  SimTrace trace([&lines](const std::string& line) { lines.push_back(line); }, nullptr);
  trace.SetMicroseconds(true);
  const uint8_t bytes[] = {0xCC, 0x01};
  trace.Frame(12000078, "TX", bytes, 2, "start");
  trace.SetMicroseconds(false);
  trace.Frame(12000078, "TX", bytes, 2, "start");
  EXPECT_EQ(lines, (std::vector<std::string>{"12.000078 TX CC 01 start", "12.000 TX CC 01 start"}));
}

TEST(SimBehaviour, SplitSendsThreePiecesWithShortGaps) {
  TCameraConfig config;
  config.split = true;
  TSimHarness camera(config);
  camera.Send(Read(1, kItemGamma));
  camera.Advance(1000000);
  ASSERT_EQ(camera.sent.size(), 3u);
  EXPECT_EQ(camera.sent[0].atUs, 0);
  EXPECT_EQ(camera.sent[1].atUs, 30000);
  EXPECT_EQ(camera.sent[2].atUs, 60000);
  EXPECT_EQ(camera.sent[0].bytes.size(), 3u);
  EXPECT_EQ(camera.sent[1].bytes.size(), 3u);
  EXPECT_EQ(camera.sent[2].bytes.size(), 4u);
  EXPECT_EQ(camera.TakeOutput(), Reply(1, 0x81, kItemGamma, 1));
  // The trace shows the reply once, when its last piece has left.
  EXPECT_TRUE(camera.TraceHas("0.060 TX CC 01 01 01 81 0C 01 00 00 91 read reply GAMMA"));
}

TEST(SimBehaviour, RepliesNeverOverlap) {
  TCameraConfig config;
  config.split = true;
  TSimHarness camera(config);
  Bytes both = Poll(1);
  const Bytes read = Read(1, kItemGain);
  both.insert(both.end(), read.begin(), read.end());
  camera.Send(both);
  camera.Advance(1000000);
  // The second reply starts as the first one's last piece leaves.
  ASSERT_EQ(camera.sent.size(), 5u);
  EXPECT_EQ(camera.sent[2].atUs, 60000);
  EXPECT_EQ(camera.sent[2].bytes.size(), 7u);
  EXPECT_EQ(camera.sent[4].atUs, 120000);
  Bytes expected = Reply(1, 0x82, 0, 0);
  const Bytes second = Reply(1, 0x81, kItemGain, 0);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(camera.TakeOutput(), expected);
}

TEST(SimBehaviour, NoiseComesBeforeTheReplyAndNeverHoldsAStartByte) {
  TCameraConfig config;
  config.noiseRate = 1.0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    config.seed = seed;
    TSimHarness camera(config);
    const Bytes out = camera.Exchange(Poll(1));
    ASSERT_GE(out.size(), kFrameSize + 1);
    ASSERT_LE(out.size(), kFrameSize + 3);
    const size_t noise = out.size() - kFrameSize;
    for (size_t i = 0; i < noise; ++i) EXPECT_NE(out[i], kFrameStart);
    EXPECT_EQ(Bytes(out.begin() + static_cast<long>(noise), out.end()), Reply(1, 0x82, 0, 0));
    EXPECT_TRUE(camera.TraceHas(" noise"));
  }
  config.noiseRate = 0.0;
  TSimHarness quiet(config);
  EXPECT_EQ(quiet.Exchange(Poll(1)), Reply(1, 0x82, 0, 0));
}

TEST(SimBehaviour, SilentAfterNRepliesAnswersNoMore) {
  TCameraConfig config;
  config.silentAfter = 2;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Poll(1)), Reply(1, 0x82, 0, 0));
  EXPECT_EQ(camera.Exchange(Read(1, kItemGain)), Reply(1, 0x81, kItemGain, 0));
  EXPECT_TRUE(camera.Exchange(Poll(1)).empty());
  // A silent camera takes no writes either.
  EXPECT_TRUE(camera.Exchange(Write(1, kItemGain, 1)).empty());
  EXPECT_EQ(camera.sim.Model().Value(kItemGain), 0);
  EXPECT_TRUE(camera.TraceHas("not answered (silent)"));
}

TEST(SimBehaviour, SilentForAnswersAgainAsACameraThatRestarted) {
  TCameraConfig config;
  config.silentAfter = 1;
  config.silentForMs = 3000;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Poll(1)), Reply(1, 0x82, 0, 0));
  EXPECT_TRUE(camera.Exchange(Poll(1)).empty());  // silent from here, for 3 s
  camera.Advance(2000000 - 1);
  EXPECT_TRUE(camera.Exchange(Poll(1)).empty());
  EXPECT_EQ(camera.Exchange(Poll(1)), Reply(1, 0x82, 0, 0));
  EXPECT_EQ(camera.Exchange(Poll(1)), Reply(1, 0x82, 0, 0));
}

// Each damaged reply differs from the camera's by one flipped bit or one lost
// byte, and the trace says which and what it was.
TEST(SimBehaviour, CorruptDamagesOneByteOfAReply) {
  TCameraConfig config;
  config.corruptRate = 1.0;
  const Bytes whole = Reply(1, 0x81, kItemGain, 0);
  int flipped = 0;
  int lost = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    config.seed = seed;
    TSimHarness camera(config);
    const Bytes out = camera.Exchange(Read(1, kItemGain));
    EXPECT_TRUE(camera.TraceHas("damaged, byte "));
    EXPECT_TRUE(camera.TraceHas(", was CC 01 01 01 81 05 00 00 00 89: read reply"));
    if (out.size() == kFrameSize) {
      int bits = 0;
      for (size_t i = 0; i < kFrameSize; ++i) bits += __builtin_popcount(out[i] ^ whole[i]);
      EXPECT_EQ(bits, 1);
      ++flipped;
      continue;
    }
    ASSERT_EQ(out.size(), kFrameSize - 1);
    size_t at = 0;
    while (at < out.size() && out[at] == whole[at]) ++at;
    EXPECT_TRUE(std::equal(out.begin() + static_cast<long>(at), out.end(),
                           whole.begin() + static_cast<long>(at) + 1));
    ++lost;
  }
  EXPECT_GT(flipped, 0);
  EXPECT_GT(lost, 0);
}

// A request damaged on the way in is not obeyed; the next whole one is.
TEST(SimBehaviour, CorruptRequestsAreIgnoredByTheCamera) {
  TCameraConfig config;
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    config.seed = seed;
    config.corruptRequestRate = 1.0;
    TSimHarness camera(config);
    EXPECT_TRUE(camera.Exchange(Write(1, kItemGain, 7)).empty());
    EXPECT_EQ(camera.sim.Model().Value(kItemGain), 0);
    EXPECT_TRUE(camera.TraceHas("damaged on the way in: byte "));
  }
}

TEST(SimBehaviour, StartingValuesOddOnesIncluded) {
  TCameraConfig config;
  config.startValues[kItemWhiteBal] = 5;
  config.startValues[kItemColToWb] = 0x50;
  config.startValues[kItemWbToCol] = 0x50;
  config.startValues[kItemDNFil] = 7;
  TSimHarness camera(config);
  EXPECT_EQ(camera.Exchange(Read(1, kItemWhiteBal)), Reply(1, 0x81, kItemWhiteBal, 5));
  EXPECT_EQ(camera.Exchange(Read(1, kItemColToWb)), Reply(1, 0x81, kItemColToWb, 0x50));
  EXPECT_EQ(camera.Exchange(Read(1, kItemWbToCol)), Reply(1, 0x81, kItemWbToCol, 0x50));
  EXPECT_EQ(camera.Exchange(Read(1, kItemDNFil)), Reply(1, 0x81, kItemDNFil, 7));
  // 0x50 written back is taken as it is.
  EXPECT_EQ(camera.Exchange(Write(1, kItemColToWb, 0x50)), Reply(1, 0x83, kItemColToWb, 0x50));
}
