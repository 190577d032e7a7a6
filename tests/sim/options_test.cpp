// The simulator's command line.
#include <gtest/gtest.h>

#include "link/camera_items.h"
#include "sim/sim_options.h"

namespace {

std::string Parse(const std::vector<std::string>& args, TSimOptions& options) {
  return ParseSimOptions(args, options);
}

}  // namespace

TEST(SimOptions, DefaultsAreAddress1At4800PelcoPOnANewPty) {
  TSimOptions options;
  EXPECT_EQ(Parse({}, options), "");
  EXPECT_EQ(options.camera.address, 1);
  EXPECT_EQ(options.camera.baud, 4800);
  EXPECT_EQ(options.camera.protocol, PtzProtocol::PelcoP);
  EXPECT_TRUE(options.device.empty());
  EXPECT_TRUE(options.traceFile.empty());
  EXPECT_FALSE(options.traceMicroseconds);
  EXPECT_EQ(options.camera.silentAfter, -1);
}

TEST(SimOptions, EveryOptionIsTaken) {
  TSimOptions options;
  EXPECT_EQ(Parse({"--address",
                   "199",
                   "--baud=9600",
                   "--protocol",
                   "ernitec",
                   "--link",
                   "/tmp/x/Com1",
                   "--trace",
                   "t.log",
                   "--trace-us",
                   "--set",
                   "SHUTTER=3",
                   "--set",
                   "white-bal=1",
                   "--set",
                   "0x81=40",
                   "--id",
                   "CAM 7",
                   "--white-bal",
                   "5",
                   "--delay-code",
                   "0x50",
                   "--iris",
                   "--dc-sync",
                   "--ai-lens",
                   "--refuse",
                   "GAIN",
                   "--refuse",
                   "0x0A",
                   "--reply-delay",
                   "250",
                   "--line-timing",
                   "--split",
                   "--noise",
                   "0.25",
                   "--seed",
                   "7",
                   "--silent-after",
                   "3"},
                  options),
            "");
  const TCameraConfig& camera = options.camera;
  EXPECT_EQ(camera.address, 199);
  EXPECT_EQ(camera.baud, 9600);
  EXPECT_EQ(camera.protocol, PtzProtocol::Ernitec);
  EXPECT_EQ(options.link, "/tmp/x/Com1");
  EXPECT_EQ(options.traceFile, "t.log");
  EXPECT_TRUE(options.traceMicroseconds);
  EXPECT_EQ(camera.startValues.at(kItemShutter), 3);
  // --white-bal given later wins over --set.
  EXPECT_EQ(camera.startValues.at(kItemWhiteBal), 5);
  EXPECT_EQ(camera.startValues.at(kItemRedGain), 40);
  EXPECT_EQ(camera.startValues.at(kItemColToWb), 0x50);
  EXPECT_EQ(camera.startValues.at(kItemWbToCol), 0x50);
  EXPECT_TRUE(camera.hasIdText);
  EXPECT_EQ(camera.idText, "CAM 7");
  EXPECT_TRUE(camera.iris && camera.dcSync && camera.aiLens);
  EXPECT_EQ(camera.refused, (std::set<uint8_t>{kItemGain, kItemId}));
  EXPECT_EQ(camera.replyDelayMs, 250);
  EXPECT_TRUE(camera.lineTiming && camera.split);
  EXPECT_DOUBLE_EQ(camera.noiseRate, 0.25);
  EXPECT_EQ(camera.seed, 7u);
  EXPECT_EQ(camera.silentAfter, 3);
}

TEST(SimOptions, ItemsByCodeOrName) {
  EXPECT_EQ(ParseItemName("0x09"), kItemWhiteBal);
  EXPECT_EQ(ParseItemName("9"), kItemWhiteBal);
  EXPECT_EQ(ParseItemName("WHITE BAL"), kItemWhiteBal);
  EXPECT_EQ(ParseItemName("d/n-mode"), kItemDNMode);
  EXPECT_EQ(ParseItemName("ID"), kItemId);
  EXPECT_EQ(ParseItemName("id-pos"), kItemIdPos);
  EXPECT_EQ(ParseItemName("Red"), kItemRedGain);
  EXPECT_EQ(ParseItemName("B"), kItemBlueGain);
  EXPECT_EQ(ParseItemName("COL>BW DELAY"), kItemColToWb);
  EXPECT_EQ(ParseItemName("0x0E"), -1);
  EXPECT_EQ(ParseItemName("ZOOM"), -1);
  EXPECT_EQ(ParseItemName(""), -1);
}

TEST(SimOptions, BadCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--address", "0"},
      {"--address", "256"},
      {"--address", "1x"},
      {"--address"},
      {"--baud", "300"},  // a rate the camera does not have
      {"--baud", "-4800"},
      {"--protocol", "visca"},
      {"--set", "SHUTTER"},
      {"--set", "ZOOM=1"},
      {"--set", "ID=3"},
      {"--set", "GAIN=256"},
      {"--id", "lower"},
      {"--id", "SEVENTEEN CHARS!!"},
      {"--refuse", "ZOOM"},
      {"--reply-delay", "-1"},
      {"--noise", "1.5"},
      {"--noise", "x"},
      {"--silent-after", "-2"},
      {"--iris=1"},
      {"--bogus"},
      {"stray"},
      {"--device", "/dev/ttyS0", "--link", "/tmp/x/Com1"},
  };
  for (const auto& args : bad) {
    TSimOptions options;
    EXPECT_NE(Parse(args, options), "") << args[0];
  }
  TSimOptions options;
  EXPECT_EQ(Parse({"--bogus"}, options), "unknown option --bogus");
  EXPECT_EQ(Parse({"--address", "0"}, options), "invalid value '0' for --address (1..255)");
}

TEST(SimOptions, HelpNamesEveryOption) {
  const std::string help = SimHelpText();
  for (const char* option :
       {"--device",       "--link",        "--address",     "--baud",  "--protocol", "--set",
        "--id",           "--white-bal",   "--delay-code",  "--iris",  "--dc-sync",  "--ai-lens",
        "--refuse",       "--reply-delay", "--line-timing", "--split", "--noise",    "--seed",
        "--silent-after", "--trace",       "--trace-us",    "--help",  "--version"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}
