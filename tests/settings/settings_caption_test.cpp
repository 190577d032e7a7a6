#include "settings/settings_caption.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsCaption, NamesTheFileWithoutItsFolder) {
  EXPECT_EQ(FileCaption("/home/op/sites/lobby.TXT"), " - lobby.TXT");
  EXPECT_EQ(FileCaption("lobby.TXT"), " - lobby.TXT");
  EXPECT_EQ(FileCaption("/tmp/my cam.TXT"), " - my cam.TXT");
}

TEST(SettingsCaption, GivesBackTheWholeFileName) {
  EXPECT_EQ(CaptionFileName(" - lobby east.TXT"), "lobby east.TXT");
  EXPECT_EQ(CaptionFileName(FileCaption("/a/b - c.TXT")), "b - c.TXT");
  EXPECT_EQ(CaptionFileName(kUntitledCaption), "Untitled.TXT");
}

TEST(SettingsCaption, ProposesTheTextAfterTheLastBlank) {
  EXPECT_EQ(ProposedFileName(kUntitledCaption), "Untitled.TXT");
  EXPECT_EQ(ProposedFileName(" - lobby.TXT"), "lobby.TXT");
  EXPECT_EQ(ProposedFileName(" - my cam.TXT"), "cam.TXT");
  EXPECT_EQ(ProposedFileName("NoBlank.TXT"), "NoBlank.TXT");
  EXPECT_EQ(ProposedFileName(" - "), "");
}

}  // namespace
