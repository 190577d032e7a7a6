#include <gtest/gtest.h>

#include <cstring>

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "link/memory_panel.h"

namespace {

class PanelRules : public ::testing::Test {
 protected:
  PanelRules() { SetPanelDefaults(panel, state); }
  MemoryPanel panel;
  CameraLinkState state{};

  uint8_t Value(uint8_t item, uint8_t* extra = nullptr) {
    return PanelValue(panel, state, item, extra);
  }
};

TEST_F(PanelRules, StartUpDefaults) {
  EXPECT_EQ(panel.ItemIndex(PanelControl::DNLevelSel), 1);
  EXPECT_EQ(panel.ItemIndex(PanelControl::SharpnessSel), 2);
  EXPECT_EQ(panel.ItemIndex(PanelControl::GammaSel), 1);
  EXPECT_EQ(panel.Position(PanelControl::RedUpDown), 15);
  EXPECT_EQ(panel.NumEditText(PanelControl::BlueUpDown), "15");
  EXPECT_FALSE(panel.GainControlsVisible());
  EXPECT_FALSE(panel.Visible(PanelControl::ShutterIris));
  EXPECT_FALSE(panel.Visible(PanelControl::SyncDC));
  EXPECT_EQ(state.ColToWbCode, 1);
  EXPECT_EQ(state.WbToColCode, 1);
  EXPECT_EQ(panel.ItemIndex(PanelControl::ColToWbComboBox), 1);
}

TEST_F(PanelRules, ShutterIrisReportShowsIrisAndWritesAuto) {
  state.ItemPending[PendingIndex(kItemShutter)] = 1;
  ApplyReadReply(panel, state, kItemShutter, 9, 0);
  EXPECT_TRUE(panel.Visible(PanelControl::ShutterIris));
  EXPECT_EQ(panel.ItemIndex(PanelControl::ShutterIris), 9);
  EXPECT_FALSE(panel.Visible(PanelControl::ShutterSel));
  EXPECT_EQ(Value(kItemShutter), 0);
  EXPECT_FALSE(ItemIsPending(state, kItemShutter));

  ApplyReadReply(panel, state, kItemShutter, 3, 0);
  EXPECT_TRUE(panel.Visible(PanelControl::ShutterSel));
  EXPECT_FALSE(panel.Visible(PanelControl::ShutterIris));
  EXPECT_EQ(Value(kItemShutter), 3);
}

TEST_F(PanelRules, SyncDashesReportShowsSyncDCAndWritesLL) {
  panel.SetItemIndex(PanelControl::SyncSel, 1);
  ApplyReadReply(panel, state, kItemSync, 2, 0);
  EXPECT_TRUE(panel.Visible(PanelControl::SyncDC));
  EXPECT_EQ(panel.ItemIndex(PanelControl::SyncDC), 2);
  EXPECT_FALSE(panel.Visible(PanelControl::SyncSel));
  EXPECT_EQ(Value(kItemSync), 0);
}

TEST_F(PanelRules, WhiteBalanceThreeAndAboveIsManualWithGainsShown) {
  for (uint8_t v : {uint8_t{3}, uint8_t{4}, uint8_t{255}}) {
    ApplyReadReply(panel, state, kItemWhiteBal, v, 0);
    EXPECT_EQ(panel.ItemIndex(PanelControl::WhiteBalSel), 3) << int(v);
    EXPECT_TRUE(panel.GainControlsVisible()) << int(v);
  }
  for (uint8_t v : {uint8_t{0}, uint8_t{1}, uint8_t{2}}) {
    ApplyReadReply(panel, state, kItemWhiteBal, v, 0);
    EXPECT_EQ(panel.ItemIndex(PanelControl::WhiteBalSel), v);
    EXPECT_FALSE(panel.GainControlsVisible()) << int(v);
  }
}

TEST_F(PanelRules, GainReportRefreshesTheNumberBox) {
  ApplyReadReply(panel, state, kItemRedGain, 40, 0);
  EXPECT_EQ(panel.Position(PanelControl::RedUpDown), 40);
  EXPECT_EQ(panel.NumEditText(PanelControl::RedUpDown), "40");
  EXPECT_EQ(Value(kItemRedGain), 40);
}

TEST_F(PanelRules, ListValueBeyondTheListLeavesNoSelectionAndWrites0xFF) {
  ApplyReadReply(panel, state, kItemDNFil, 7, 0);
  EXPECT_EQ(panel.ItemIndex(PanelControl::DNFilSel), -1);
  EXPECT_EQ(Value(kItemDNFil), 0xFF);
}

TEST_F(PanelRules, DelayCode0x50SelectsNothingAndIsWrittenBackUnchanged) {
  ApplyReadReply(panel, state, kItemColToWb, kDelayCodeSpecial, 0);
  EXPECT_EQ(panel.ItemIndex(PanelControl::ColToWbComboBox), -1);
  EXPECT_EQ(state.ColToWbCode, 0x50);
  EXPECT_EQ(Value(kItemColToWb), 0x50);
  ApplyReadReply(panel, state, kItemWbToCol, 3, 0);
  EXPECT_EQ(panel.ItemIndex(PanelControl::WbToColComboBox), 3);
  EXPECT_EQ(Value(kItemWbToCol), 3);
}

TEST(DelayCodes, ListPositionsAndCodesMapBothWays) {
  // The special code sits just past the list's entries, where nothing shows.
  EXPECT_EQ(size_t(kDelayPositionSpecial), ListEntries(PanelControl::ColToWbComboBox).size());
  EXPECT_EQ(DelayPositionOfCode(kDelayCodeSpecial), kDelayPositionSpecial);
  EXPECT_EQ(DelayCodeOfPosition(kDelayPositionSpecial), kDelayCodeSpecial);
  for (int position = 0; position < kDelayPositionSpecial; ++position) {
    EXPECT_EQ(DelayPositionOfCode(DelayCodeOfPosition(position)), position);
  }
}

TEST_F(PanelRules, IdTextIsWrittenAsSixteenPositionsPaddedWithBlanks) {
  panel.SetIdEditText("CAM 7");
  const char expected[] = "CAM 7           ";
  for (uint8_t position = 0; position < kIdLength; ++position) {
    state.IdIndex = position;
    uint8_t extra = 0;
    EXPECT_EQ(Value(kItemId, &extra), position);
    EXPECT_EQ(extra, static_cast<uint8_t>(expected[position])) << int(position);
  }
}

TEST_F(PanelRules, IdTextReadGrowsByPositionAndWrapsAfterFifteen) {
  panel.SetIdEditText("typed");
  EXPECT_EQ(IdTextString(state), "");
  SetItemPending(state, kItemId, true);
  const char text[] = "LOBBY-2         ";
  for (uint8_t position = 0; position < kIdLength; ++position) {
    ApplyReadReply(panel, state, kItemId, position, static_cast<uint8_t>(text[position]));
    EXPECT_EQ(ItemIsPending(state, kItemId), position < 15);
  }
  EXPECT_EQ(panel.IdEditText(), "LOBBY-2         ");
  EXPECT_EQ(state.IdIndex, 0);
}

TEST_F(PanelRules, IdPositionSixteenOrMoreIsIgnored) {
  uint8_t before[sizeof state.IdText];
  std::memcpy(before, state.IdText, sizeof before);
  ApplyReadReply(panel, state, kItemId, 16, 'X');
  ApplyReadReply(panel, state, kItemId, 200, 'X');
  EXPECT_EQ(std::memcmp(before, state.IdText, sizeof before), 0);
  EXPECT_EQ(state.IdIndex, 0);
  EXPECT_EQ(state.IdText[16], 0);
}

TEST(LinkState, BusyWhileAnyTransferFlagIsSet) {
  CameraLinkState state{};
  EXPECT_FALSE(LinkBusy(state));
  for (uint8_t CameraLinkState::*flag :
       {&CameraLinkState::ReadBusy, &CameraLinkState::WriteBusy, &CameraLinkState::ProbeBusy,
        &CameraLinkState::DelayReadBusy, &CameraLinkState::DelayWriteBusy}) {
    CameraLinkState s{};
    s.*flag = 1;
    EXPECT_TRUE(LinkBusy(s));
  }
  state.AwaitingReply = 1;
  EXPECT_FALSE(LinkBusy(state));
}

TEST(LinkState, PendingFlagsAreInItemCodeOrder) {
  EXPECT_EQ(PendingIndex(0x01), 0);
  EXPECT_EQ(PendingIndex(0x0D), 12);
  EXPECT_EQ(PendingIndex(0x81), 13);
  EXPECT_EQ(PendingIndex(0x82), 14);
  EXPECT_EQ(PendingIndex(0x21), -1);
  EXPECT_EQ(sizeof(CameraLinkState), 10u + 17 + 12 + 15 + 2 + 10);
}

}  // namespace
