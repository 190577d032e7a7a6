#include "settings/settings_writer.h"

#include <gtest/gtest.h>

#include <iterator>

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "panel_snapshot.h"
#include "settings/settings_lines.h"

namespace {

TEST(SettingsWriter, DefaultsAfterStartUpByteForByte) {
  StartedPanel started;
  EXPECT_EQ(SettingsFileText(started.panel, started.state),
            "K5 CASE FUNCTION\r\n"
            "D/N MODE&0\r\n"
            "D/N LEVEL&1\r\n"
            "D/N FIL&1\r\n"
            "SHUTTER&0\r\n"
            "GAIN&0\r\n"
            "SYNC&0\r\n"
            "BLC&0\r\n"
            "APERTURE&2\r\n"
            "WHITE BAL&0\r\n"
            "ID.&\r\n"
            "ID. POS&0\r\n"
            "RED&15\r\n"
            "Blue&15\r\n"
            "ColToWb&1\r\n"
            "WbToCol&1\r\n"
            "GAMMA&1\r\n"
            "PREDTMSP&0\r\n");
}

TEST(SettingsWriter, IrisAndDashesAreSavedAsThePlainListsZero) {
  StartedPanel started;
  started.panel.SetItemIndex(PanelControl::ShutterSel, 5);
  started.panel.SetItemIndex(PanelControl::SyncSel, 1);
  ApplyShutterReport(started.panel, kShutterIrisValue);
  ApplySyncReport(started.panel, kSyncDCValue);
  const std::string text = SettingsFileText(started.panel, started.state);
  EXPECT_NE(text.find("\r\nSHUTTER&0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nSYNC&0\r\n"), std::string::npos) << text;
}

TEST(SettingsWriter, WritesWhatThePanelHoldsUnchecked) {
  StartedPanel started;
  started.panel.SetItemIndex(PanelControl::BlcSel, 7);  // a camera value with no entry
  started.panel.SetIdEditText("cam_1 \x01");
  started.panel.SetPosition(PanelControl::RedUpDown, 63);
  started.panel.SetPosition(PanelControl::BlueUpDown, 0);
  started.state.ColToWbCode = kDelayCodeSpecial;
  started.state.WbToColCode = 3;
  const std::string text = SettingsFileText(started.panel, started.state);
  EXPECT_NE(text.find("\r\nBLC&-1\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nID.&cam 1  \r\n"), std::string::npos);  // the ID rule: blanks
  EXPECT_NE(text.find("\r\nRED&63\r\nBlue&0\r\nColToWb&80\r\nWbToCol&3\r\n"), std::string::npos);
}

// The limits Open applies, line by line.
TEST(SettingsWriter, LineTableKeysAndLimits) {
  const int limits[] = {3, 2, 2, 10, 2, 2, 5, 3, 4, 0, 3, 64, 64, 4, 4, 2, 9};
  const char* keys[] = {"D/N MODE", "D/N LEVEL", "D/N FIL",   "SHUTTER", "GAIN",    "SYNC",
                        "BLC",      "APERTURE",  "WHITE BAL", "ID.",     "ID. POS", "RED",
                        "Blue",     "ColToWb",   "WbToCol",   "GAMMA",   "PREDTMSP"};
  // Today's lines keep their places; a later item's line comes after them.
  ASSERT_GE(SettingsLines().size(), std::size(keys));
  for (size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_STREQ(SettingsLines()[i].key, keys[i]);
    if (i != 9) {
      EXPECT_EQ(SettingsLines()[i].limit, limits[i]) << keys[i];
    }
  }
}

}  // namespace
