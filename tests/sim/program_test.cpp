// The real zelta-camsim over a real pseudo-terminal, opened the way ZELTA
// opens a port: raw, at a chosen speed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "link/ptz_frames.h"
#include "tests/sim/sim_process.h"
#include "version/zelta_version.h"

using Bytes = std::vector<uint8_t>;

namespace {

Bytes Poll(uint8_t address) {
  Bytes frame(kFrameSize);
  BuildPollFrame(frame.data(), address, 0);
  return frame;
}

Bytes Read(uint8_t item, uint8_t position = 0) {
  Bytes frame(kFrameSize);
  BuildReadFrame(frame.data(), 1, item, position);
  return frame;
}

Bytes Write(uint8_t item, uint8_t value, uint8_t extra = 0) {
  Bytes frame(kFrameSize);
  BuildWriteFrame(frame.data(), 1, item, value, extra);
  return frame;
}

Bytes GetProtocolState() {
  Bytes frame(kFrameSize);
  BuildGetProtocolStateFrame(frame.data());
  return frame;
}

Bytes Reply(uint8_t code, uint8_t b5, uint8_t b6, uint8_t b7 = 0, uint8_t address = 1) {
  Bytes frame(kFrameSize);
  BuildReplyFrame(frame.data(), address, code, b5, b6, b7);
  return frame;
}

Bytes Ptz(PtzProtocol protocol, PtzCommand command, uint8_t address) {
  uint8_t buffer[kPtzFrameSize] = {};
  const PtzFrameRef ref = BuildPtzFrame(buffer, protocol, command, address);
  return Bytes(ref.data, ref.data + ref.length);
}

class TTempDir {
 public:
  TTempDir() {
    char pattern[] = "/tmp/camsim-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TTempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

TEST(SimProgram, ServesACameraThroughItsLinkAndRemovesTheLinkOnExit) {
  TTempDir dir;
  const std::string link = dir.Path() + "/x/Com1";
  TSimProcess sim({"--link", link});
  ASSERT_FALSE(sim.ReadyPath().empty()) << sim.ErrorText();
  {
    TPtyClient port(link, B4800);
    ASSERT_TRUE(port.IsOpen());
    port.Send(Poll(1));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyPoll, 0, 0));
    EXPECT_FALSE(
        sim.WaitForLine("RX CC 01 01 01 02 00 00 00 00 05 poll addr 1 proto PELCO P").empty());
    EXPECT_FALSE(sim.WaitForLine("TX CC 01 01 01 82 00 00 00 00 85 poll reply addr 1").empty());

    port.Send(Read(kItemWhiteBal));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyRead, kItemWhiteBal, 0));
    port.Send(Write(kItemWhiteBal, 3));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyWrite, kItemWhiteBal, 3));
    port.Send(Read(kItemWhiteBal));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyRead, kItemWhiteBal, 3));
    port.Send(Write(kItemId, 4, 'Z'));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyWrite, kItemId, 4, 'Z'));
    port.Send(Read(kItemId, 4));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyRead, kItemId, 4, 'Z'));
    port.Send(GetProtocolState());
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyProtocolState, kBaudCode4800, kProtocolPelcoP));

    Bytes speed(kFrameSize);
    BuildProtocolSpeedFrame(speed.data());
    port.Send(speed);
    EXPECT_FALSE(sim.WaitForLine("protocol speed addr 0 (logged at 4800 baud)").empty());
    EXPECT_TRUE(port.ReadFor(50).empty());
  }
  // ZELTA closes and reopens its port: the camera is still there.
  {
    TPtyClient port(link, B4800);
    port.Send(Poll(1));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyPoll, 0, 0));
  }
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_FALSE(Exists(link));
}

TEST(SimProgram, SilentAtAnotherSpeedSoASearchFindsItsOwnRate) {
  TSimProcess sim({"--baud", "2400", "--address", "37", "--protocol", "pelco-d"});
  const std::string path = sim.ReadyPath();
  ASSERT_FALSE(path.empty());
  TPtyClient port(path, B4800);
  port.Send(Poll(37));
  EXPECT_FALSE(sim.WaitForLine("ignored: line at 4800 baud, camera at 2400").empty());
  EXPECT_TRUE(port.ReadFor(50).empty());

  int answers = 0;
  for (const speed_t speed : {B1200, B2400, B4800, B9600}) {
    port.SetSpeed(speed);
    port.Send(GetProtocolState());
    const Bytes reply = port.ReadFrame(speed == B2400 ? 2000 : 300);
    if (reply.empty()) continue;
    ++answers;
    EXPECT_EQ(speed, B2400);
    EXPECT_EQ(reply, Reply(kReplyProtocolState, kBaudCode2400, kProtocolPelcoD, 0, 37));
  }
  EXPECT_EQ(answers, 1);
}

TEST(SimProgram, DropsCorruptForeignAndPartialFrames) {
  TSimProcess sim({});
  const std::string path = sim.ReadyPath();
  ASSERT_FALSE(path.empty());
  TPtyClient port(path, B4800);

  Bytes corrupt = Poll(1);
  corrupt[9] ^= 0x10;
  port.Send(corrupt);
  EXPECT_FALSE(sim.WaitForLine("dropped: bad checksum").empty());
  port.Send(Poll(2));
  EXPECT_FALSE(sim.WaitForLine("dropped: camera is addr 1").empty());

  const Bytes poll = Poll(1);
  port.Send({poll.begin(), poll.begin() + 5});
  EXPECT_FALSE(sim.WaitForLine("RX CC 01 01 01 02 dropped: partial frame").empty());
  port.Send({poll.begin() + 5, poll.end()});
  EXPECT_FALSE(sim.WaitForLine("RX 00 00 00 00 05 garbage 5 bytes").empty());
  EXPECT_TRUE(port.ReadFor(50).empty());

  port.Send(poll);
  EXPECT_EQ(port.ReadFrame(), Reply(kReplyPoll, 0, 0));
}

TEST(SimProgram, PlaysALineOfCameras) {
  TSimProcess sim({"--cameras", "1-2,4", "--duplicate", "2", "--set", "4:GAIN=3", "--silent", "1"});
  const std::string path = sim.ReadyPath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(sim.Lines().front().find("(addresses 1-2,4, duplicate 2, 4800 baud, PELCO P)"),
            std::string::npos);
  TPtyClient port(path, B4800);
  Bytes readGain(kFrameSize);
  BuildReadFrame(readGain.data(), 4, kItemGain, 0);
  port.Send(readGain);
  EXPECT_EQ(port.ReadFrame(), Reply(kReplyRead, kItemGain, 3, 0, 4));
  port.Send(Poll(2));
  const Bytes garbled = port.ReadFrame();
  ASSERT_EQ(garbled.size(), kFrameSize);
  EXPECT_FALSE(ReplyAccepted(garbled.data(), 2));
  port.Send(Poll(1));
  port.Send(Poll(3));
  EXPECT_FALSE(sim.WaitForLine("poll addr 3 proto PELCO P, dropped: no camera at addr 3").empty());
  EXPECT_TRUE(port.ReadFor(50).empty());
}

TEST(SimProgram, BehaviourOptionsOnTheLine) {
  TSimProcess sim({"--iris", "--dc-sync", "--ai-lens", "--refuse", "GAIN", "--white-bal", "5",
                   "--delay-code", "0x50", "--reply-delay", "20", "--line-timing", "--split",
                   "--noise", "1", "--silent-after", "8"});
  const std::string path = sim.ReadyPath();
  ASSERT_FALSE(path.empty());
  TPtyClient port(path, B4800);
  const std::pair<Bytes, Bytes> exchanges[] = {
      {Read(kItemShutter), Reply(kReplyRead, kItemShutter, 9)},
      {Write(kItemShutter, 0), Reply(kReplyWrite, kItemShutter, 9)},
      {Read(kItemSync), Reply(kReplyRead, kItemSync, 2)},
      {Write(kItemSync, 1), Reply(kReplyWrite, kItemSync, 2)},
      {Write(kItemGain, 1), Reply(kReplyWrite, kItemGain, 0)},
      {Read(kItemWhiteBal), Reply(kReplyRead, kItemWhiteBal, 5)},
      {Read(kItemColToWb), Reply(kReplyRead, kItemColToWb, 0x50)},
      {Poll(1), Reply(kReplyPoll, 0, 0)},
  };
  for (const auto& [request, reply] : exchanges) {
    port.Send(request);
    EXPECT_EQ(port.ReadFrame(), reply);  // skips the noise in front
  }
  EXPECT_FALSE(sim.WaitForLine(" noise").empty());
  port.Send(Poll(1));
  EXPECT_FALSE(sim.WaitForLine("not answered (silent)").empty());
  EXPECT_TRUE(port.ReadFor(100).empty());
}

TEST(SimProgram, PtzFramesOfEachProtocolMoveTheMenu) {
  const std::pair<PtzProtocol, const char*> protocols[] = {
      {kProtocolPelcoP, "pelco-p"}, {kProtocolPelcoD, "pelco-d"}, {kProtocolErnitec, "ernitec"}};
  for (const auto& [protocol, name] : protocols) {
    SCOPED_TRACE(name);
    TSimProcess sim({"--protocol", name, "--address", "37"});
    const std::string path = sim.ReadyPath();
    ASSERT_FALSE(path.empty());
    TPtyClient port(path, B4800);
    port.Send(Ptz(protocol, PtzCommand::OsdOn, 37));
    EXPECT_FALSE(sim.WaitForLine("MENU open").empty());
    Bytes down = Ptz(protocol, PtzCommand::Down, 37);
    const Bytes stop = Ptz(protocol, PtzCommand::Stop, 37);
    down.insert(down.end(), stop.begin(), stop.end());
    port.Send(down);
    EXPECT_FALSE(sim.WaitForLine("MENU  > D/N LEVEL").empty());
    port.Send(Ptz(protocol, PtzCommand::Select, 37));
    EXPECT_FALSE(sim.WaitForLine("MENU open, editing").empty());
    port.Send(Ptz(protocol, PtzCommand::Colour, 37));
    EXPECT_FALSE(sim.WaitForLine("MENU preset 88 (Colour) called").empty());
  }
}

TEST(SimProgram, ServesADevicePathAndLocksIt) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string device = ::ptsname(master);
  {
    TSimProcess sim({"--device", device});
    ASSERT_EQ(sim.ReadyPath(), device);
    TSimProcess second({"--device", device});
    EXPECT_EQ(second.WaitForExit(), 1);
    EXPECT_NE(second.ErrorText().find("is in use"), std::string::npos) << second.ErrorText();

    const Bytes poll = Poll(1);
    ASSERT_EQ(::write(master, poll.data(), poll.size()), static_cast<ssize_t>(poll.size()));
    EXPECT_FALSE(sim.WaitForLine("poll addr 1").empty());
    Bytes reply(kFrameSize);
    size_t got = 0;
    while (got < reply.size()) {
      const ssize_t count = ::read(master, reply.data() + got, reply.size() - got);
      if (count <= 0) break;
      got += static_cast<size_t>(count);
    }
    EXPECT_EQ(reply, Reply(kReplyPoll, 0, 0));
    EXPECT_EQ(sim.Stop(), 0);
  }
  ::close(master);
}

TEST(SimProgram, TraceFileAndStaleLink) {
  TTempDir dir;
  const std::string link = dir.Path() + "/Com1";
  ASSERT_EQ(::symlink("/dev/pts/nothing-here", link.c_str()), 0);
  const std::string traceFile = dir.Path() + "/trace.log";
  TSimProcess sim({"--link", link, "--trace", traceFile});
  const std::string path = sim.ReadyPath();
  ASSERT_FALSE(path.empty());
  char target[256] = {};
  ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), path);
  {
    TPtyClient port(link, B4800);
    port.Send(Poll(1));
    EXPECT_EQ(port.ReadFrame(), Reply(kReplyPoll, 0, 0));
  }
  EXPECT_EQ(sim.Stop(), 0);
  std::ifstream file(traceFile);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find(" RX CC 01 01 01 02 00 00 00 00 05 poll addr 1"), std::string::npos);
  EXPECT_NE(text.str().find(" TX CC 01 01 01 82 00 00 00 00 85 poll reply"), std::string::npos);
}

TEST(SimProgram, CommandLineHelpAndErrors) {
  {
    TSimProcess help({"--help"});
    EXPECT_EQ(help.WaitForExit(), 0);
    EXPECT_FALSE(help.WaitForLine("Usage: zelta-camsim").empty());
  }
  {
    TSimProcess version({"--version"});
    EXPECT_EQ(version.WaitForExit(), 0);
    EXPECT_EQ(version.WaitForLine("zelta-camsim "), "zelta-camsim " ZELTA_VERSION);
  }
  {
    TSimProcess bad({"--bogus"});
    EXPECT_EQ(bad.WaitForExit(), 2);
    EXPECT_NE(bad.ErrorText().find("unknown option --bogus"), std::string::npos);
  }
  {
    TSimProcess bad({"--address", "300"});
    EXPECT_EQ(bad.WaitForExit(), 2);
  }
  TTempDir dir;
  const std::string file = dir.Path() + "/Com1";
  std::ofstream(file) << "not a link";
  TSimProcess refused({"--link", file});
  EXPECT_EQ(refused.WaitForExit(), 1);
  EXPECT_NE(refused.ErrorText().find("is not a symbolic link"), std::string::npos);
  EXPECT_TRUE(Exists(file));
}
