// Every panel the program can reach is saved and loaded back unchanged.
#include <gtest/gtest.h>

#include <random>

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "settings/settings_writer.h"
#include "settings_test_files.h"

namespace {

constexpr PanelControl kPlainLists[] = {
    PanelControl::DNModeSel,  PanelControl::DNLevelSel,   PanelControl::DNFilSel,
    PanelControl::ShutterSel, PanelControl::GainSel,      PanelControl::SyncSel,
    PanelControl::BlcSel,     PanelControl::SharpnessSel, PanelControl::WhiteBalSel,
    PanelControl::IDPosSel,   PanelControl::GammaSel,     PanelControl::PredtmspSel};

const uint8_t kDelayCodes[] = {0, 1, 2, 3, kDelayCodeSpecial};

// Saves, loads into a fresh start-up panel and saves again.
void ExpectRoundTrip(const StartedPanel& original, const PanelSnapshot& expected) {
  const std::string text = SettingsFileText(original.panel, original.state);
  StartedPanel loaded;
  const LoadOutcome outcome = Load(text, loaded.panel, loaded.state);
  ASSERT_TRUE(outcome.ok) << "refused at line " << outcome.error.line << ":\n" << text;
  EXPECT_EQ(Snapshot(loaded.panel, loaded.state), expected) << text;
  EXPECT_EQ(SettingsFileText(loaded.panel, loaded.state), text);
}

void ExpectRoundTrip(const StartedPanel& original) {
  ExpectRoundTrip(original, Snapshot(original.panel, original.state));
}

TEST(SettingsRoundTrip, EveryValueOfEveryLine) {
  for (const PanelControl list : kPlainLists) {
    const int count = static_cast<int>(ListEntries(list).size());
    for (int index = -1; index < count; ++index) {
      SCOPED_TRACE(testing::Message() << "list " << int(list) << " at " << index);
      StartedPanel started;
      started.panel.SetItemIndex(list, index);
      ShowWhiteBalance(started.panel);
      ExpectRoundTrip(started);
    }
  }
  for (int gain = kGainMin; gain <= kGainMax; ++gain) {
    StartedPanel started;
    started.panel.SetPosition(PanelControl::RedUpDown, gain);
    started.panel.SetPosition(PanelControl::BlueUpDown, kGainMax - gain);
    ExpectRoundTrip(started);
  }
  for (const uint8_t code : kDelayCodes) {
    StartedPanel started;
    started.state.ColToWbCode = code;
    started.state.WbToColCode = code;
    ExpectRoundTrip(started);
  }
  for (const char* id :
       {"", " ", "CAM 1", "0123456789ABCDEF", "ZYX<>-.,;*/: 9", "cam 1", "ABCDEFGHIJKLMNOPQRST"}) {
    StartedPanel started;
    started.panel.SetIdEditText(id);
    ExpectRoundTrip(started);
  }
}

TEST(SettingsRoundTrip, CameraReportedValuesWithoutAnEntry) {
  StartedPanel started;
  for (const uint8_t item : kTransferOrder) {
    if (item != kItemId) ApplyReadReply(started.panel, started.state, item, 200, 0);
  }
  ApplyReadReply(started.panel, started.state, kItemColToWb, kDelayCodeSpecial, 0);
  ApplyReadReply(started.panel, started.state, kItemWbToCol, kDelayCodeSpecial, 0);
  // The dialog lists are not part of the file; the codes are.
  StartedPanel expected = started;
  expected.panel.SetItemIndex(PanelControl::ColToWbComboBox, 1);
  expected.panel.SetItemIndex(PanelControl::WbToColComboBox, 1);
  ExpectRoundTrip(started, Snapshot(expected.panel, expected.state));
}

TEST(SettingsRoundTrip, IrisAndDashesComeBackAsThePlainListsZero) {
  StartedPanel started;
  ApplyShutterReport(started.panel, kShutterIrisValue);
  ApplySyncReport(started.panel, kSyncDCValue);
  StartedPanel expected = started;
  ApplyShutterReport(expected.panel, 0);
  ApplySyncReport(expected.panel, 0);
  ExpectRoundTrip(started, Snapshot(expected.panel, expected.state));
}

TEST(SettingsRoundTrip, ManyMixedPanels) {
  std::mt19937 random(20261208);
  const std::string idChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 <>-.,;*/:";
  for (int round = 0; round < 500; ++round) {
    StartedPanel started;
    for (const PanelControl list : kPlainLists) {
      const int count = static_cast<int>(ListEntries(list).size());
      started.panel.SetItemIndex(list, static_cast<int>(random() % (count + 1)) - 1);
    }
    ShowWhiteBalance(started.panel);
    started.panel.SetPosition(PanelControl::RedUpDown, static_cast<int>(random() % 64));
    started.panel.SetPosition(PanelControl::BlueUpDown, static_cast<int>(random() % 64));
    started.state.ColToWbCode = kDelayCodes[random() % 5];
    started.state.WbToColCode = kDelayCodes[random() % 5];
    std::string id(random() % 17, ' ');
    for (char& c : id) c = idChars[random() % idChars.size()];
    started.panel.SetIdEditText(id);
    SCOPED_TRACE(round);
    ExpectRoundTrip(started);
  }
}

// Only a camera can put such a byte into the ID (unset memory, control codes,
// "&"). Each is saved as a blank, so the file opens again; no line breaks.
TEST(SettingsRoundTrip, IdBytesOutsideTheSetAreSavedAsBlanksAndOpenAgain) {
  StartedPanel camera;
  const uint8_t reported[] = {'C', 'A', 'M', '_', '1', 0xFF, '\r', '\n', '&', 'x'};
  for (uint8_t position = 0; position < 16; ++position) {
    const uint8_t c = position < sizeof reported ? reported[position] : 0xFF;
    ApplyReadReply(camera.panel, camera.state, kItemId, position, c);
  }
  const std::string text = SettingsFileText(camera.panel, camera.state);
  EXPECT_NE(text.find("\r\nID.&CAM 1    x      \r\nID. POS&"), std::string::npos) << text;

  StartedPanel target;
  ASSERT_TRUE(Load(text, target.panel, target.state).ok);
  EXPECT_EQ(target.panel.IdEditText(), "CAM 1    x      ");
}

}  // namespace
