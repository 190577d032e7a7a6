#include <gtest/gtest.h>

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "settings_test_files.h"

namespace {

using Kind = SettingsFileError::Kind;

class SettingsReader : public ::testing::Test {
 protected:
  // Loads into a panel that differs from the start-up file everywhere, so
  // that both "applied" and "untouched" are visible.
  SettingsReader() {
    p.panel.SetItemIndex(PanelControl::DNModeSel, 1);
    p.panel.SetItemIndex(PanelControl::DNLevelSel, 0);
    p.panel.SetItemIndex(PanelControl::BlcSel, 4);
    p.panel.SetItemIndex(PanelControl::WhiteBalSel, kWhiteBalManual);
    ShowWhiteBalance(p.panel);
    p.panel.SetIdEditText("OLD ID");
    p.panel.SetPosition(PanelControl::RedUpDown, 40);
    p.state.ColToWbCode = 3;
    ApplyShutterReport(p.panel, kShutterIrisValue);
  }

  LoadOutcome LoadText(const std::string& text) { return Load(text, p.panel, p.state); }

  void ExpectRefused(const std::string& text, Kind kind, int line, const std::string& value = "") {
    const PanelSnapshot before = Snapshot(p.panel, p.state);
    const LoadOutcome outcome = LoadText(text);
    ASSERT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error.kind, kind);
    EXPECT_EQ(outcome.error.line, line);
    EXPECT_EQ(outcome.error.value, value);
    EXPECT_EQ(Snapshot(p.panel, p.state), before) << "a refused file changed the panel";
  }

  StartedPanel p;
};

TEST_F(SettingsReader, StartUpFileGivesTheStartUpPanel) {
  ASSERT_TRUE(LoadText(Join(DefaultLines())).ok);
  EXPECT_EQ(Snapshot(p.panel, p.state), Snapshot(StartedPanel().panel, StartedPanel().state));
}

TEST_F(SettingsReader, LineOneAndKeysAreNotCompared) {
  std::vector<std::string> lines = DefaultLines();
  lines[0] = "";
  lines[1] = "X&2";
  lines[2] = "&0";
  ASSERT_TRUE(LoadText(Join(lines)).ok);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::DNModeSel), 2);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::DNLevelSel), 0);
}

TEST_F(SettingsReader, TheLastAmpersandCounts) {
  ASSERT_TRUE(LoadText(WithLine(2, "D/N MODE&&1")).ok);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::DNModeSel), 1);
  ASSERT_TRUE(LoadText(WithLine(11, "ID.&A&B")).ok);
  EXPECT_EQ(p.panel.IdEditText(), "B");
}

TEST_F(SettingsReader, AllThreeLineEndsAndNoneAfterTheLastLine) {
  std::vector<std::string> lines = DefaultLines();
  lines[1] = "D/N MODE&2";
  for (const char* end : {"\n", "\r", "\r\n"}) {
    p.panel.SetItemIndex(PanelControl::DNModeSel, 0);
    ASSERT_TRUE(LoadText(Join(lines, end)).ok) << "line end " << int(end[0]);
    EXPECT_EQ(p.panel.ItemIndex(PanelControl::DNModeSel), 2);
  }
  std::string unended = Join(lines);
  unended.resize(unended.size() - 2);
  EXPECT_TRUE(LoadText(unended).ok);
}

TEST_F(SettingsReader, LinesAfterTheEighteenthAreIgnored) {
  EXPECT_TRUE(LoadText(Join(DefaultLines()) + "rubbish without ampersand\r\n\r\nX&Y\r\n").ok);
}

TEST_F(SettingsReader, MissingOrAmpersandlessLineIsAFormatError) {
  std::vector<std::string> lines = DefaultLines();
  lines.resize(5);
  ExpectRefused(Join(lines), Kind::Format, 6);
  ExpectRefused(WithLine(18, "PREDTMSP 0"), Kind::Format, 18);
  ExpectRefused("", Kind::Format, 2);
  // An empty line 2 is missing its "&" too.
  ExpectRefused(WithLine(2, ""), Kind::Format, 2);
}

// Pins the format: a file saved today, byte for byte, opens in every later
// version (the one reading test that spells the file out).
TEST_F(SettingsReader, TodaysFileByteForByteOpens) {
  const LoadOutcome outcome = LoadText(
      "K5 CASE FUNCTION\r\nD/N MODE&2\r\nD/N LEVEL&0\r\nD/N FIL&0\r\nSHUTTER&5\r\nGAIN&1\r\n"
      "SYNC&1\r\nBLC&3\r\nAPERTURE&1\r\nWHITE BAL&3\r\nID.&cam 1\r\nID. POS&2\r\nRED&40\r\n"
      "Blue&22\r\nColToWb&2\r\nWbToCol&80\r\nGAMMA&0\r\nPREDTMSP&8\r\n");
  ASSERT_TRUE(outcome.ok) << "line " << outcome.error.line;
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::DNModeSel), 2);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::ShutterSel), 5);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::BlcSel), 3);
  EXPECT_EQ(p.panel.IdEditText(), "cam 1");
  EXPECT_EQ(p.panel.Position(PanelControl::BlueUpDown), 22);
  EXPECT_EQ(p.state.WbToColCode, kDelayCodeSpecial);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::PredtmspSel), 8);
}

// A file saved before an item existed ends where its format ended: it opens,
// and the items it lacks keep what the panel and the record hold. A file
// that stops anywhere else is still missing a line.
TEST_F(SettingsReader, AFileOfAnOlderFormatOpensAndLeavesTheRest) {
  const std::vector<size_t> formats = {11, kSettingsValueLines};  // as if RED came later
  std::vector<std::string> lines = DefaultLines();
  lines[1] = "D/N MODE&2";
  lines.resize(12);
  SettingsValues values;
  SettingsFileError error;
  ASSERT_TRUE(CheckSettingsLines(lines, values, error, formats));
  EXPECT_EQ(values.lines, 11u);
  ApplySettings(values, p.panel, p.state);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::DNModeSel), 2);
  EXPECT_EQ(p.panel.IdEditText(), "");
  EXPECT_EQ(p.panel.Position(PanelControl::RedUpDown), 40);
  EXPECT_EQ(p.state.ColToWbCode, 3);
  lines.resize(11);
  EXPECT_FALSE(CheckSettingsLines(lines, values, error, formats));
  EXPECT_EQ(error.line, 12);
  lines = DefaultLines();
  lines.resize(13);
  EXPECT_FALSE(CheckSettingsLines(lines, values, error, formats));
  EXPECT_EQ(error.line, 14);
}

TEST_F(SettingsReader, ValuesAtOrAboveTheLimitAreRefused) {
  struct Case {
    size_t line;
    const char* key;
    int limit;
  };
  const Case cases[] = {
      {2, "D/N MODE", 3},   {3, "D/N LEVEL", 2}, {4, "D/N FIL", 2}, {5, "SHUTTER", 10},
      {6, "GAIN", 2},       {7, "SYNC", 2},      {8, "BLC", 5},     {9, "APERTURE", 3},
      {10, "WHITE BAL", 4}, {12, "ID. POS", 3},  {13, "RED", 64},   {14, "Blue", 64},
      {15, "ColToWb", 4},   {16, "WbToCol", 4},  {17, "GAMMA", 2},  {18, "PREDTMSP", 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const std::string key = std::string(c.key) + "&";
    ExpectRefused(WithLine(c.line, key + std::to_string(c.limit)), Kind::Format, int(c.line));
    ExpectRefused(WithLine(c.line, key + "2147483647"), Kind::Format, int(c.line));
    StartedPanel fresh;
    ASSERT_TRUE(
        Load(WithLine(c.line, key + std::to_string(c.limit - 1)), fresh.panel, fresh.state).ok);
  }
}

TEST_F(SettingsReader, RedSixtyThreeLoadsAndShowsInTheNumberBox) {
  ASSERT_TRUE(LoadText(WithLine(13, "RED&63")).ok);
  EXPECT_EQ(p.panel.Position(PanelControl::RedUpDown), 63);
  EXPECT_EQ(p.panel.NumEditText(PanelControl::RedUpDown), "63");
  ASSERT_TRUE(LoadText(WithLine(14, "Blue&40")).ok);
  EXPECT_EQ(p.panel.Position(PanelControl::BlueUpDown), 40);
  EXPECT_EQ(p.panel.NumEditText(PanelControl::BlueUpDown), "40");
  uint8_t extra = 0;
  EXPECT_EQ(PanelValue(p.panel, p.state, kItemBlueGain, &extra), 40);
}

TEST_F(SettingsReader, NotAnIntegerIsAConversionError) {
  for (const char* value : {"", "1A", "-", "+1", " 1", "1 ", "0x1", "1.0", "99999999999"}) {
    SCOPED_TRACE(value);
    ExpectRefused(WithLine(3, std::string("D/N LEVEL&") + value), Kind::NotInteger, 3, value);
  }
}

TEST_F(SettingsReader, TheFirstBadLineDecides) {
  std::vector<std::string> lines = DefaultLines();
  lines[3] = "D/N FIL&x";
  lines[2] = "D/N LEVEL&2";
  ExpectRefused(Join(lines), Kind::Format, 3);
  lines[2] = "D/N LEVEL&1";
  ExpectRefused(Join(lines), Kind::NotInteger, 4, "x");
}

TEST_F(SettingsReader, MinusOneLeavesAListWithoutSelection) {
  ASSERT_TRUE(LoadText(WithLine(8, "BLC&-1")).ok);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::BlcSel), -1);
  ASSERT_TRUE(LoadText(WithLine(5, "SHUTTER&-1")).ok);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::ShutterSel), -1);
  EXPECT_TRUE(p.panel.Visible(PanelControl::ShutterSel));
  EXPECT_FALSE(p.panel.Visible(PanelControl::ShutterIris));
  // A large negative number must not wrap round to a value such as 9 ("IRIS").
  ASSERT_TRUE(LoadText(WithLine(5, "SHUTTER&-247")).ok);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::ShutterSel), -1);
  EXPECT_FALSE(p.panel.Visible(PanelControl::ShutterIris));
}

TEST_F(SettingsReader, NegativeGainsAndDelayCodesAreRefused) {
  ExpectRefused(WithLine(13, "RED&-1"), Kind::Format, 13);
  ExpectRefused(WithLine(14, "Blue&-1"), Kind::Format, 14);
  ExpectRefused(WithLine(15, "ColToWb&-1"), Kind::Format, 15);
  ExpectRefused(WithLine(16, "WbToCol&-176"), Kind::Format, 16);
}

TEST_F(SettingsReader, DelayCodeEightyLoadsAsTheSpecialCode) {
  std::vector<std::string> lines = DefaultLines();
  lines[14] = "ColToWb&80";
  lines[15] = "WbToCol&80";
  ASSERT_TRUE(LoadText(Join(lines)).ok);
  EXPECT_EQ(p.state.ColToWbCode, kDelayCodeSpecial);
  EXPECT_EQ(p.state.WbToColCode, kDelayCodeSpecial);
  ExpectRefused(WithLine(15, "ColToWb&81"), Kind::Format, 15);
  ExpectRefused(WithLine(16, "WbToCol&79"), Kind::Format, 16);
}

TEST_F(SettingsReader, ListsAndDelaysTakeTheirValues) {
  std::vector<std::string> lines = DefaultLines();
  lines[4] = "SHUTTER&8";
  lines[6] = "SYNC&1";
  lines[14] = "ColToWb&0";
  lines[15] = "WbToCol&3";
  lines[16] = "GAMMA&0";
  lines[17] = "PREDTMSP&8";
  ASSERT_TRUE(LoadText(Join(lines)).ok);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::ShutterSel), 8);
  EXPECT_TRUE(p.panel.Visible(PanelControl::ShutterSel));
  EXPECT_FALSE(p.panel.Visible(PanelControl::ShutterIris));
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::SyncSel), 1);
  EXPECT_TRUE(p.panel.Visible(PanelControl::SyncSel));
  EXPECT_FALSE(p.panel.Visible(PanelControl::SyncDC));
  EXPECT_EQ(p.state.ColToWbCode, 0);
  EXPECT_EQ(p.state.WbToColCode, 3);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::GammaSel), 0);
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::PredtmspSel), 8);
}

TEST_F(SettingsReader, ShutterNineShowsIrisLikeACameraReport) {
  ASSERT_TRUE(LoadText(WithLine(5, "SHUTTER&9")).ok);
  EXPECT_TRUE(p.panel.Visible(PanelControl::ShutterIris));
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::ShutterIris), kShutterIrisValue);
  EXPECT_FALSE(p.panel.Visible(PanelControl::ShutterSel));
  EXPECT_EQ(p.panel.ItemIndex(PanelControl::ShutterSel), 0);
}

TEST_F(SettingsReader, WhiteBalanceDecidesTheGainControls) {
  ASSERT_TRUE(LoadText(WithLine(10, "WHITE BAL&1")).ok);
  EXPECT_FALSE(p.panel.GainControlsVisible());
  ASSERT_TRUE(LoadText(WithLine(10, "WHITE BAL&3")).ok);
  EXPECT_TRUE(p.panel.GainControlsVisible());
  EXPECT_EQ(p.panel.NumEditText(PanelControl::RedUpDown), "15");
  ASSERT_TRUE(LoadText(WithLine(10, "WHITE BAL&-1")).ok);
  EXPECT_FALSE(p.panel.GainControlsVisible());
}

TEST_F(SettingsReader, IdLine) {
  ASSERT_TRUE(LoadText(WithLine(11, "ID.&cam 1")).ok);
  EXPECT_EQ(p.panel.IdEditText(), "cam 1");
  ASSERT_TRUE(LoadText(WithLine(11, "ID.&AZaz09 <>-.,;*/:")).ok);
  EXPECT_EQ(p.panel.IdEditText(), "AZaz09 <>-.,;*/:");
  ASSERT_TRUE(LoadText(WithLine(11, "ID.&ABCDEFGHIJKLMNOPQRST")).ok);
  EXPECT_EQ(p.panel.IdEditText(), "ABCDEFGHIJKLMNOPQRST");
  ASSERT_TRUE(LoadText(WithLine(11, "ID.&")).ok);
  EXPECT_EQ(p.panel.IdEditText(), "");
}

TEST_F(SettingsReader, IdCharactersOutsideTheSetAreRefused) {
  for (const std::string& value :
       std::vector<std::string>{"CAM_1", "A\tB", std::string("A\0B", 3), "\xE9", "A!", "a'"}) {
    ExpectRefused(WithLine(11, "ID.&" + value), Kind::Format, 11);
  }
}

TEST_F(SettingsReader, VeryLongLinesAreReadWhole) {
  const std::string longId(100000, 'A');
  ASSERT_TRUE(LoadText(WithLine(11, "ID.&" + longId)).ok);
  EXPECT_EQ(p.panel.IdEditText(), longId);
  const std::string longNumber(100000, '7');
  ExpectRefused(WithLine(13, "RED&" + longNumber), Kind::NotInteger, 13, longNumber);
}

TEST(SettingsLineSplitter, SplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(SplitSettingsLines("a\r\nb\nc\rd", 18), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitSettingsLines("a\r\n", 18), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitSettingsLines("a\n\nb\r\rc", 18),
            (std::vector<std::string>{"a", "", "b", "", "c"}));
  EXPECT_EQ(SplitSettingsLines("\n\r", 18), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(SplitSettingsLines("", 18), std::vector<std::string>{});
  EXPECT_EQ(SplitSettingsLines("a\nb\nc\n", 2), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
