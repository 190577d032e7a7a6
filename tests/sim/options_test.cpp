// The simulator's command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "link/camera_items.h"
#include "sim/camera_state.h"
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
  EXPECT_EQ(options.camera.protocol, kProtocolPelcoP);
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
                   "3",
                   "--silent-for",
                   "2500",
                   "--corrupt",
                   "0.05",
                   "--corrupt-requests",
                   "1"},
                  options),
            "");
  const TCameraConfig& camera = options.camera;
  EXPECT_EQ(camera.address, 199);
  EXPECT_EQ(camera.baud, 9600);
  EXPECT_EQ(camera.protocol, kProtocolErnitec);
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
  EXPECT_EQ(camera.silentForMs, 2500);
  EXPECT_DOUBLE_EQ(camera.corruptRate, 0.05);
  EXPECT_DOUBLE_EQ(camera.corruptRequestRate, 1.0);
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
  EXPECT_EQ(ParseItemName("0x7F"), -1);
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
      {"--silent-for", "x"},
      {"--corrupt", "2"},
      {"--corrupt-requests", "-0.5"},
      {"--iris=1"},
      {"--bogus"},
      {"stray"},
      {"--device", "/dev/ttyS0", "--link", "/tmp/x/Com1"},
      {"--unplug-after", "-1"},
      {"--replug-after", "100"},  // nothing to plug in again
      {"--device", "/dev/ttyS0", "--unplug-after", "3"},
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
  for (const char* option : {"--device",
                             "--link",
                             "--address",
                             "--baud",
                             "--protocol",
                             "--set",
                             "--id",
                             "--white-bal",
                             "--delay-code",
                             "--iris",
                             "--dc-sync",
                             "--ai-lens",
                             "--refuse",
                             "--reply-delay",
                             "--line-timing",
                             "--split",
                             "--noise",
                             "--seed",
                             "--silent-after",
                             "--trace",
                             "--trace-us",
                             "--help",
                             "--version",
                             "--cameras",
                             "--duplicate",
                             "--silent",
                             "--silent-for",
                             "--corrupt",
                             "--corrupt-requests",
                             "--unplug-after",
                             "--replug-after"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

// A line of several cameras: the address list, values for one camera, and
// what is refused, with the reason a person reads.
TEST(SimOptions, CamerasOfALine) {
  TSimOptions options;
  EXPECT_EQ(Parse({"--cameras", "1-3,12,20-21", "--duplicate", "2", "--set", "SHUTTER=1", "--set",
                   "3:SHUTTER=2", "--silent", "12", "--refuse", "20:GAIN", "--id", "21:12:00"},
                  options),
            "");
  std::vector<int> addresses;
  for (const TCameraConfig& camera : options.cameras) addresses.push_back(camera.address);
  EXPECT_EQ(addresses, (std::vector<int>{1, 2, 2, 3, 12, 20, 21}));
  EXPECT_EQ(options.cameras[0].startValues.at(kItemShutter), 1);
  EXPECT_EQ(options.cameras[3].startValues.at(kItemShutter), 2);
  EXPECT_EQ(options.cameras[4].silentAfter, 0);
  EXPECT_EQ(options.cameras[3].silentAfter, -1);
  EXPECT_EQ(options.cameras[5].refused, std::set<uint8_t>{kItemGain});
  EXPECT_TRUE(options.cameras[0].refused.empty());
  EXPECT_EQ(options.cameras[6].idText, "12:00");
  EXPECT_FALSE(options.cameras[0].hasIdText);

  // One camera: an ID text that looks like an address stays the text.
  TSimOptions one;
  EXPECT_EQ(Parse({"--address", "7", "--id", "12:00", "--set", "7:GAIN=3"}, one), "");
  ASSERT_EQ(one.cameras.size(), 1u);
  EXPECT_EQ(one.cameras[0].address, 7);
  EXPECT_EQ(one.cameras[0].idText, "12:00");
  EXPECT_EQ(one.cameras[0].startValues.at(kItemGain), 3);

  const struct {
    std::vector<std::string> args;
    const char* error;
  } bad[] = {
      {{"--cameras", "0-3"},
       "invalid value '0-3' for --cameras (addresses 1..255, e.g. 1-8,12,20-22)"},
      {{"--cameras", "5-2"},
       "invalid value '5-2' for --cameras (addresses 1..255, e.g. 1-8,12,20-22)"},
      {{"--cameras", "1,,2"},
       "invalid value '1,,2' for --cameras (addresses 1..255, e.g. 1-8,12,20-22)"},
      {{"--silent", "x"}, "invalid value 'x' for --silent (addresses 1..255, e.g. 1-8,12,20-22)"},
      {{"--cameras", "1-4", "--set", "9:GAIN=1"}, "no camera at address 9 for --set"},
      {{"--cameras", "1-4", "--duplicate", "7"}, "no camera at address 7 to duplicate"},
      {{"--silent", "2"}, "no camera at address 2 for --silent"},
      {{"--cameras", "1-4", "--set", "2:GAIN=256"},
       "invalid value 'GAIN=256' for --set (value 0..255)"},
      {{"--cameras", "1-4", "--address", "2"},
       "--address names the only camera; with --cameras give the addresses there"},
  };
  for (const auto& row : bad) {
    TSimOptions refused;
    EXPECT_EQ(Parse(row.args, refused), row.error);
  }
}

// --state-dir: what a camera held comes back at the next start, any ID bytes
// included; a file it can not read stops the start with the line named.
TEST(SimOptions, ACamerasStateComesBackAtTheNextStart) {
  char folder[] = "/tmp/zelta-state-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  TCameraConfig before;
  before.address = 17;
  before.startValues[kItemShutter] = 5;
  before.hasIdText = true;
  before.idText = std::string("P\xFF\0K", 4);
  const CameraModel held(before);
  ASSERT_EQ(SaveCameraState(folder, held), "");
  TCameraConfig after;
  after.address = 17;
  ASSERT_EQ(LoadCameraState(folder, after), "");
  EXPECT_EQ(CameraStateText(CameraModel(after)), CameraStateText(held));
  EXPECT_EQ(CameraModel(after).Value(kItemShutter), 5);

  const std::string path = std::string(folder) + "/" + CameraStateName(17);
  std::ofstream(path, std::ios::app) << "GAIN=x\n";
  const std::string text = CameraStateText(held);
  const auto bad = std::count(text.begin(), text.end(), '\n') + 1;
  EXPECT_EQ(LoadCameraState(folder, after),
            path + " line " + std::to_string(bad) + ": bad value 'x'");
  std::remove(path.c_str());
  TCameraConfig factory;
  factory.address = 17;
  EXPECT_EQ(LoadCameraState(folder, factory), "");
  EXPECT_TRUE(factory.startValues.empty());
  ::rmdir(folder);
}
