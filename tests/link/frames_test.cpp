#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "link/line_speeds.h"
#include "link/multi_write.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes AsBytes(const uint8_t* frame) {
  return Bytes(frame, frame + kFrameSize);
}

TEST(CameraFrames, WorkedExamplesByteForByte) {
  uint8_t f[kFrameSize];
  BuildReadFrame(f, 1, kItemDNMode, 0);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05}));
  BuildPollFrame(f, 1, kProtocolPelcoD);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x01, 0x02, 0x00, 0x00, 0x01, 0x00, 0x06}));
  BuildWriteFrame(f, 23, kItemWhiteBal, 3, 0);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x17, 0x03, 0x09, 0x03, 0x00, 0x00, 0x28}));
  BuildWriteFrame(f, 199, kItemId, 5, 'A');
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0xC7, 0x03, 0x0A, 0x05, 0x41, 0x00, 0x1C}));
  BuildWriteFrame(f, 199, kItemRedGain, 63, 0);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0xC7, 0x03, 0x81, 0x3F, 0x00, 0x00, 0x8C}));
  BuildGetProtocolStateFrame(f);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x06}));
  BuildProtocolSpeedFrame(f);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x08}));
  BuildReplyFrame(f, 37, kReplyProtocolState, kBaudCode9600, kProtocolPelcoD, 0);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x25, 0x84, 0x03, 0x01, 0x00, 0x00, 0xAF}));
}

TEST(CameraFrames, BuildersOverwriteEveryByteOfTheBuffer) {
  uint8_t f[kFrameSize];
  BuildWriteFrame(f, 199, kItemId, 15, 'Z');
  // A read of a list item carries no position and no character, whatever was there.
  BuildReadFrame(f, 2, kItemGain, 15);
  EXPECT_EQ(AsBytes(f), (Bytes{0xCC, 0x01, 0x01, 0x02, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0A}));
  // A write of a list item never carries an extra byte.
  BuildWriteFrame(f, 2, kItemGain, 1, 'Z');
  EXPECT_EQ(f[7], 0);
  BuildReadFrame(f, 2, kItemId, 15);
  EXPECT_EQ(f[6], 15);
}

TEST(CameraFrames, ChecksumKeepsEightBitsPastTwoHundredFiftyFive) {
  uint8_t f[kFrameSize];
  for (int address = 0; address < 256; address += 17) {
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      BuildWriteFrame(f, static_cast<uint8_t>(address), kItemId, value, 0xFF);
      unsigned sum = 0;
      for (int i = 1; i <= 8; ++i) sum += f[i];
      EXPECT_EQ(f[9], sum % 256);
    }
  }
}

class ReplyAcceptance : public ::testing::Test {
 protected:
  uint8_t reply[kFrameSize];
  void Build(uint8_t address, uint8_t code) { BuildReplyFrame(reply, address, code, 1, 2, 3); }
};

TEST_F(ReplyAcceptance, OwnAddressAndGoodChecksumIsAccepted) {
  for (uint8_t code : {kReplyRead, kReplyPoll, kReplyWrite, kReplyProtocolState}) {
    Build(1, code);
    EXPECT_TRUE(ReplyAccepted(reply, 1)) << int(code);
  }
}

TEST_F(ReplyAcceptance, WrongChecksumIsDropped) {
  Build(1, kReplyPoll);
  reply[9] ^= 0x01;
  EXPECT_FALSE(ReplyAccepted(reply, 1));
}

TEST_F(ReplyAcceptance, ChecksumCoversByteEight) {
  // The program's own frames keep byte 8 at 0; a camera may not.
  const uint8_t withByte8[kFrameSize] = {0xCC, 0x01, 0x01, 0x01, 0x81,
                                         0x04, 0x05, 0x00, 0x40, 0xCD};
  EXPECT_TRUE(ReplyAccepted(withByte8, 1));
  uint8_t sumToSeven[kFrameSize];
  std::copy(std::begin(withByte8), std::end(withByte8), sumToSeven);
  sumToSeven[9] = 0x8D;
  EXPECT_FALSE(ReplyAccepted(sumToSeven, 1));
}

TEST_F(ReplyAcceptance, BytesOneAndTwoMustBeOneEvenWithARightChecksum) {
  for (int index : {1, 2}) {
    Build(1, kReplyPoll);
    reply[index] = 0x02;
    reply[9] = FrameChecksum(reply);
    EXPECT_FALSE(ReplyAccepted(reply, 1)) << index;
  }
}

TEST_F(ReplyAcceptance, ForeignAddressOnlyForProtocolState) {
  for (uint8_t code : {kReplyRead, kReplyPoll, kReplyWrite}) {
    Build(5, code);
    EXPECT_FALSE(ReplyAccepted(reply, 1)) << int(code);
  }
  Build(5, kReplyProtocolState);
  EXPECT_TRUE(ReplyAccepted(reply, 1));
}

TEST_F(ReplyAcceptance, CodesOutsideTheRepliesAreDropped) {
  for (int code : {0x00, 0x01, 0x02, 0x80, 0x85, 0xFF}) {
    Build(1, static_cast<uint8_t>(code));
    EXPECT_FALSE(ReplyAccepted(reply, 1)) << int(code);
  }
}

TEST(LineCodes, BaudAndProtocolTexts) {
  EXPECT_EQ(BaudRateText(kBaudCode1200), "Baud Rate : 1200");
  EXPECT_EQ(BaudRateText(kBaudCode9600), "Baud Rate : 9600");
  EXPECT_EQ(BaudRateText(kLineSpeedCount), "");
  EXPECT_EQ(ProtocolText(kProtocolPelcoP), "Protocol Type : PELCO P");
  EXPECT_EQ(ProtocolText(kProtocolPelcoD), "Protocol Type : PELCO D");
  EXPECT_EQ(ProtocolText(kProtocolErnitec), "Protocol Type : ERNITEC");
  EXPECT_EQ(ProtocolText(static_cast<uint8_t>(PtzProtocolCount())), "");
  // The Protocol menu's items, in code order.
  const char* const captions[][2] = {
      {"PelcoP", "Pelco P"}, {"PelcoD", "Pelco D"}, {"ERNITEC", "ERNITEC"}};
  for (uint8_t code = kProtocolPelcoP; code <= kProtocolErnitec; ++code) {
    EXPECT_STREQ(PtzProtocolOf(PtzProtocolAt(code)).menuItem, captions[code][0]);
    EXPECT_STREQ(PtzProtocolOf(PtzProtocolAt(code)).menuCaption, captions[code][1]);
  }
  EXPECT_EQ(CodeOfBaud(4800), kBaudCode4800);
  EXPECT_EQ(CodeOfBaud(300), -1);
}

TEST(LineSpeeds, EverySpeedHasItsCodeTextGuardTimeAndSearchText) {
  std::set<std::string> probeTexts;
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    const LineSpeed& row = kLineSpeeds[code];
    SCOPED_TRACE(row.bitsPerSecond);
    EXPECT_EQ(BaudOfCode(code), row.bitsPerSecond);
    EXPECT_EQ(CodeOfBaud(row.bitsPerSecond), code);
    EXPECT_EQ(BaudRateText(code), "Baud Rate : " + std::to_string(row.bitsPerSecond));
    EXPECT_GT(GuardTimeMs(row.bitsPerSecond), 0);
    EXPECT_EQ(GuardTimeMs(row.bitsPerSecond), row.guardTimeMs);
    EXPECT_EQ(ProbeRateText(row.bitsPerSecond).rfind("Camera Protocol .", 0), 0u);
    EXPECT_TRUE(probeTexts.insert(ProbeRateText(row.bitsPerSecond)).second);
  }
  EXPECT_EQ(GuardTimeMs(300), 0);
  EXPECT_EQ(ProbeRateText(300), "");
}

TEST(LineSpeeds, TheFourCameraSpeeds) {
  const struct {
    uint8_t code;
    int bitsPerSecond;
    int guardTimeMs;
    const char* probeText;
  } speeds[] = {{kBaudCode1200, 1200, 16, "Camera Protocol ."},
                {kBaudCode2400, 2400, 12, "Camera Protocol .."},
                {kBaudCode4800, 4800, 4, "Camera Protocol ..."},
                {kBaudCode9600, 9600, 5, "Camera Protocol ...."}};
  for (const auto& speed : speeds) {
    EXPECT_EQ(BaudOfCode(speed.code), speed.bitsPerSecond);
    EXPECT_EQ(GuardTimeMs(speed.bitsPerSecond), speed.guardTimeMs);
    EXPECT_EQ(ProbeRateText(speed.bitsPerSecond), speed.probeText);
  }
}

TEST(ItemTable, TransferOrderPutsGammaAfterSyncAndWhiteBalBeforeTheGains) {
  const std::array<uint8_t, 15> expected = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x0C, 0x07,
                                            0x09, 0x08, 0x0D, 0x0A, 0x0B, 0x81, 0x82};
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), kTransferOrder.begin()));
}

// A new item row must find its place everywhere the counts and orders are
// derived: exactly one file line, one transfer step and one pending flag each.
TEST(ItemTable, EveryItemHasOneFileLineOneTransferStepAndItsFlag) {
  ASSERT_EQ(CameraItems().size(), kCameraItemCount);
  std::set<int> fileLines;
  std::set<uint8_t> transferred(kTransferOrder.begin(), kTransferOrder.end());
  transferred.insert(kDelayTransferOrder.begin(), kDelayTransferOrder.end());
  std::set<int> flags;
  for (const CameraItem& item : CameraItems()) {
    SCOPED_TRACE(item.code);
    EXPECT_TRUE(fileLines.insert(item.fileLine).second);
    EXPECT_EQ(transferred.count(item.code), 1u);
    EXPECT_EQ(ItemOfControl(item.control), &item);
    const bool delay = item.kind == ItemKind::Delay;
    EXPECT_EQ(PendingIndex(item.code) < 0, delay);
    if (!delay) {
      EXPECT_TRUE(flags.insert(PendingIndex(item.code)).second);
    }
    if (item.kind == ItemKind::List || delay) {
      EXPECT_FALSE(ListEntries(item.control).empty());
    }
  }
  EXPECT_EQ(transferred.size(), kCameraItemCount);
  EXPECT_EQ(*fileLines.rbegin(), static_cast<int>(kCameraItemCount) - 1);
  EXPECT_EQ(flags.size(), kPanelItemCount);
}

TEST(ItemTable, ListEntriesKeepTrailingBlanks) {
  EXPECT_EQ(ListEntries(PanelControl::BlcSel)[3], "BLC3 ");
  EXPECT_EQ(ListEntries(PanelControl::WhiteBalSel)[1], "ATW2 ");
  EXPECT_EQ(ListEntries(PanelControl::ShutterIris).size(), 10u);
  EXPECT_EQ(ListEntries(PanelControl::ShutterIris)[9], "IRIS");
  EXPECT_EQ(ListEntries(PanelControl::SyncDC)[2], "---");
  EXPECT_EQ(ListEntries(PanelControl::ColToWbComboBox).size(), 4u);
}

// Each name comes from the item table: the delays have their own names alone
// and share their transfer's name in Write to Several Cameras' rows.
TEST(ItemTable, NamesAloneAndInTheirTransfer) {
  EXPECT_STREQ(CameraItemName(*FindCameraItem(kItemColToWb)), "COL>BW DELAY");
  EXPECT_STREQ(CameraItemName(*FindCameraItem(kItemWbToCol)), "BW>COL DELAY");
  EXPECT_STREQ(CameraItemName(*FindCameraItem(kItemRedGain)), "Red");
  EXPECT_STREQ(TransferStepName(*FindCameraItem(kItemWbToCol)), "IMAGE DELAY");
  EXPECT_STREQ(TransferStepName(*FindCameraItem(kItemId)), "ID.");
  EXPECT_EQ(ItemName(kItemColToWb), "COL>BW DELAY");
  EXPECT_EQ(MultiWriteItemName(kItemColToWb), "IMAGE DELAY");
}

}  // namespace

// What the trace and the line monitor print for each frame, in both directions.
TEST(FrameMeaning, EveryKindOfFrameInWords) {
  const struct {
    Bytes frame;
    const char* meaning;
  } table[] = {
      {{0xCC, 0x01, 0x01, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x05}, "poll addr 1 proto PELCO P"},
      {{0xCC, 0x01, 0x01, 0x02, 0x02, 0x00, 0x00, 0x02, 0x00, 0x08}, "poll addr 2 proto ERNITEC"},
      {{0xCC, 0x01, 0x01, 0x02, 0x02, 0x00, 0x00, 0xEE, 0x00, 0xF4}, "poll addr 2 proto 0xEE"},
      {{0xCC, 0x01, 0x01, 0x01, 0x01, 0x04, 0x00, 0x00, 0x00, 0x08}, "read SHUTTER addr 1"},
      {{0xCC, 0x01, 0x01, 0x17, 0x03, 0x09, 0x03, 0x00, 0x00, 0x28},
       "write WHITE BAL = 3 (MANUAL) addr 23"},
      {{0xCC, 0x01, 0x01, 0xC7, 0x03, 0x0A, 0x05, 0x41, 0x00, 0x1C},
       "write ID. pos 5 = 'A' addr 199"},
      {{0xCC, 0x01, 0x01, 0x17, 0x81, 0x09, 0x03, 0x00, 0x00, 0xA6},
       "read reply WHITE BAL = 3 (MANUAL) addr 23"},
      {{0xCC, 0x01, 0x01, 0x01, 0x83, 0x21, 0x50, 0x00, 0x00, 0xF7},
       "write reply COL>BW DELAY = 0x50 (80) addr 1"},
      {{0xCC, 0x01, 0x01, 0x01, 0x82, 0x00, 0x00, 0x00, 0x00, 0x85}, "poll reply addr 1"},
      {{0xCC, 0x01, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x06}, "get protocol state addr 0"},
      {{0xCC, 0x01, 0x01, 0x25, 0x84, 0x03, 0x01, 0x00, 0x00, 0xAF},
       "protocol state reply addr 37, 9600 baud, PELCO D"},
      {{0xCC, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x08}, "protocol speed addr 0"},
      {{0xCC, 0x01, 0x01, 0x01, 0x07, 0x00, 0x00, 0x00, 0x00, 0x0A}, "unknown command 0x07 addr 1"},
      {{0xCC, 0x01, 0x01, 0x01, 0x80, 0x00, 0x00, 0x00, 0x00, 0x83}, "unknown reply 0x80 addr 1"},
      {{0xCC, 0x01, 0x01, 0x01, 0x82, 0x00, 0x00, 0x00, 0x00, 0x86}, "dropped: bad checksum"},
      {{0xCC, 0x02, 0x01, 0x01, 0x82, 0x00, 0x00, 0x00, 0x00, 0x86},
       "dropped: bytes 1 and 2 are not 01 01"},
      {{0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x38}, "PELCO P Up addr 1"},
      // The end byte is outside the checksum: a good checksum does not save a wrong one.
      {{0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAE, 0x38}, "PELCO P dropped: no end byte"},
      // Iris close alone (focus, zoom and iris bits are not the menu's) is no Stop.
      {{0xFF, 0x01, 0x04, 0x00, 0x00, 0x00, 0x05}, "PELCO D other command addr 1"},
      {{0xA0, 0x00, 0x08, 0x00, 0x00, 0x00, 0xAF, 0x07}, "PELCO P other command addr 1"},
      {{0xFF, 0x25, 0x00, 0x07, 0x00, 0x58, 0x84}, "PELCO D go to preset 88 addr 37"},
      {{0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x49}, "PELCO D dropped: bad checksum"},
      {{0x02, 0x00, 0x01, 0x00, 0x01, 0x04}, "ERNITEC Select addr 1"},
      {{0x11, 0x22, 0x33}, "garbage 3 bytes"},
  };
  for (const auto& row : table) {
    EXPECT_EQ(DescribeFrame(row.frame.data(), row.frame.size()), row.meaning);
  }
}

// The monitor's view of the tool's side: chunks of any size, frames of both
// kinds, garbage between them, and a frame cut off by a gap.
TEST(FrameMeaning, SplitterFindsFramesInAnyChunking) {
  const Bytes line = {0x55, 0x00, 0xCC, 0x01, 0x01, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00,
                      0x05, 0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x48, 0xCC, 0x01};
  for (const size_t chunk : {size_t{1}, size_t{3}, line.size()}) {
    LineSplitter splitter({kProtocolPelcoP, kProtocolPelcoD, kProtocolErnitec});
    std::vector<std::string> seen;
    for (size_t i = 0; i < line.size(); i += chunk) {
      const size_t count = std::min(chunk, line.size() - i);
      for (const LinePiece& piece : splitter.Feed(line.data() + i, count, 1000)) {
        seen.push_back(DescribePiece(piece));
      }
    }
    EXPECT_EQ(splitter.Deadline(), 1000 + kInterByteTimeoutUs);
    for (const LinePiece& piece : splitter.Expire(splitter.Deadline())) {
      seen.push_back(DescribePiece(piece));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"garbage 2 bytes", "poll addr 1 proto PELCO P",
                                              "PELCO D Up addr 1", "dropped: partial frame"}))
        << chunk;
  }
  // A chattering line comes in pieces of bounded length, not one endless piece.
  const Bytes chatter(10 * kGarbagePieceBytes + 3, 0x55);
  LineSplitter tool({kProtocolPelcoP});
  auto chunks = tool.Feed(chatter.data(), chatter.size(), 0);
  EXPECT_EQ(chunks.size(), 10u);
  for (const LinePiece& piece : chunks) EXPECT_EQ(piece.bytes.size(), kGarbagePieceBytes);
  EXPECT_EQ(DescribePiece(tool.Expire(kInterByteTimeoutUs).at(0)), "garbage 3 bytes");
  // The camera's side carries no PTZ frames: their start bytes are garbage there.
  LineSplitter replies;
  const Bytes ptz = {0xFF, 0x01, 0x00};
  const auto pieces = replies.Feed(ptz.data(), ptz.size(), 0);
  ASSERT_EQ(replies.Expire(kInterByteTimeoutUs).size(), 1u);
  EXPECT_TRUE(pieces.empty());
}

// The monitor's receiving side: another controller's PTZ frames among the
// cameras' replies and noise; a start byte that opens no good frame is noise.
TEST(FrameMeaning, OtherControllersFramesAmongRepliesAndNoise) {
  const Bytes line = {0x11, 0xFF, 0xCC, 0x01, 0x01, 0x01, 0x82, 0x00, 0x00, 0x00, 0x00, 0x85,
                      0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x38, 0x02, 0x02, 0x00, 0x01,
                      0x00, 0x01, 0x04, 0xFF, 0x02, 0x00, 0x10, 0x00, 0x00, 0x12, 0xA0};
  for (const size_t chunk : {size_t{1}, size_t{4}, line.size()}) {
    LineSplitter splitter({kProtocolPelcoP, kProtocolPelcoD, kProtocolErnitec},
                          BadPtzFrames::Reread);
    std::vector<std::string> seen;
    for (size_t i = 0; i < line.size(); i += chunk) {
      const auto pieces = splitter.Feed(line.data() + i, std::min(chunk, line.size() - i), 0);
      for (const LinePiece& piece : pieces) seen.push_back(DescribePiece(piece));
    }
    for (const LinePiece& piece : splitter.Abandon()) seen.push_back(DescribePiece(piece));
    EXPECT_EQ(seen,
              (std::vector<std::string>{"garbage 2 bytes", "poll reply addr 1", "PELCO P Up addr 1",
                                        "garbage 1 byte", "ERNITEC Select addr 1",
                                        "PELCO D Down addr 2", "garbage 1 byte"}))
        << chunk;
  }
}

// Whatever comes down the line, every byte comes out once, in order, in
// pieces no longer than a frame, each with a meaning.
TEST(FrameMeaning, EveryByteComesOutOnceInShortPieces) {
  const uint8_t alphabet[] = {0xCC, 0xFF, 0xA0, 0xAF, 0x02, 0x01, 0x00, 0x08, 0x3F, 0x48};
  uint32_t seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  Bytes line(5000);
  for (uint8_t& byte : line) {
    byte = next() % 4 == 0 ? static_cast<uint8_t>(next()) : alphabet[next() % sizeof alphabet];
  }
  for (const BadPtzFrames bad : {BadPtzFrames::Dropped, BadPtzFrames::Reread}) {
    LineSplitter splitter({kProtocolPelcoP, kProtocolPelcoD, kProtocolErnitec}, bad);
    std::vector<LinePiece> pieces;
    for (size_t i = 0; i < line.size();) {
      const size_t count = std::min<size_t>(1 + next() % 12, line.size() - i);
      for (LinePiece& piece : splitter.Feed(line.data() + i, count, 0)) pieces.push_back(piece);
      i += count;
    }
    for (LinePiece& piece : splitter.Abandon()) pieces.push_back(piece);
    Bytes out;
    for (const LinePiece& piece : pieces) {
      EXPECT_LE(piece.bytes.size(), kFrameSize);
      EXPECT_FALSE(DescribePiece(piece).empty());
      out.insert(out.end(), piece.bytes.begin(), piece.bytes.end());
    }
    EXPECT_EQ(out, line);
  }
}
