// Device faults: the camera's side of the line closed and opened again in the
// middle of a transfer, the symbolic link of the device removed, a port whose
// RTS line cannot be set. Each time the link reports through the lamp and the
// status texts, uses no CPU while the device is gone, and works again once
// the device is back and the port is opened again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <string>

#include "bench/process_figures.h"
#include "bench/sim_process.h"
#include "comm/comm_error.h"
#include "headless/link_session.h"

namespace {

using std::chrono::milliseconds;

// Longer than four silent watchdog ticks of 500 ms.
constexpr milliseconds kFailTime{4000};
constexpr milliseconds kLinkTime{3000};
// A spinning thread would use the whole second.
constexpr double kGoneCpuLimitSeconds = 0.1;

class TempFolder {
 public:
  TempFolder() {
    char name[] = "/tmp/zelta-faults-XXXXXX";
    if (::mkdtemp(name) != nullptr) path_ = name;
  }
  ~TempFolder() {
    ::unlink((path_ + "/Com1").c_str());
    ::rmdir(path_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

bool Logged(const HeadlessWindow& window, const std::string& text) {
  for (const auto& change : window.mainLog) {
    if (change.text == text) return true;
  }
  return false;
}

// CPU seconds the whole process used while the link ran for a second.
double CpuOverOneSecond(LinkSession& link) {
  const double before = ProcessCpuSeconds();
  link.RunFor(milliseconds(1000));
  return ProcessCpuSeconds() - before;
}

// Starts Read Camera and runs until `exchanges` requests of it went out.
void ReadPartWay(LinkSession& link, long exchanges) {
  const long start = link.Port().FramesStarted();
  link.Window().ClearLog();
  link.Engine().ReadButtonClick();
  ASSERT_TRUE(
      link.RunUntil([&] { return link.Port().FramesStarted() >= start + exchanges; }, kLinkTime));
  ASSERT_EQ(link.State().ReadBusy, 1);
}

void ExpectReadFails(LinkSession& link) {
  ASSERT_TRUE(link.RunUntil([&] { return link.State().ReadBusy == 0; }, kFailTime));
  EXPECT_TRUE(Logged(link.Window(), "READ ERROR.."));
  EXPECT_EQ(link.Window().mainStatus, "READ ERROR..");
  EXPECT_EQ(link.Window().lamp, LampColour::Red);
  EXPECT_FALSE(link.Window().buttonsEnabled);
}

void ExpectReadWorks(LinkSession& link) {
  ASSERT_TRUE(link.WaitLinked(kLinkTime));
  EXPECT_TRUE(link.Window().buttonsEnabled);
  link.Window().ClearLog();
  link.Engine().ReadButtonClick();
  ASSERT_TRUE(link.RunUntil([&] { return link.State().ReadBusy == 0; }, kFailTime));
  EXPECT_EQ(link.Window().mainStatus, "Finish");
  EXPECT_EQ(link.Window().lamp, LampColour::Lime);
}

// Between the engine and the serial component: a port whose RTS line cannot
// be set, failing as the component does, with its error.
class RtsRefusingPort : public LinkPort {
 public:
  explicit RtsRefusingPort(LinkPort& inner) : inner_(inner) {}
  bool Enabled() const override { return inner_.Enabled(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override {
    bytesWritten += count;
    return inner_.Write(buffer, count);
  }
  int32_t Read(uint8_t* buffer, uint32_t count) override { return inner_.Read(buffer, count); }
  void SetRTSState(bool state) override {
    if (state ? refuseRaise : refuseDrop) throw ECommError(comm_message::Escape, EIO);
    inner_.SetRTSState(state);
  }
  int BaudRate() const override { return inner_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { inner_.SetBaudRate(bitsPerSecond); }

  bool refuseRaise = false;
  bool refuseDrop = false;
  long bytesWritten = 0;

 private:
  LinkPort& inner_;
};

const std::vector<std::string> kCamera = {"--baud", "9600", "--reply-delay", "20"};

std::vector<std::string> CameraOn(const std::string& link) {
  std::vector<std::string> options = kCamera;
  options.push_back("--link");
  options.push_back(link);
  return options;
}

}  // namespace

TEST(FaultDevice, CameraSideClosedMidTransferAndOpenedAgain) {
  TempFolder folder;
  const std::string com1 = folder.Path() + "/Com1";
  LinkSession link;
  {
    SimProcess camera(SimProgramBesideThis(), CameraOn(com1));
    ASSERT_FALSE(camera.WaitReady().empty()) << camera.Output();
    ASSERT_TRUE(link.Open(com1, 9600));
    link.Start();
    ASSERT_TRUE(link.WaitLinked(kLinkTime));
    ReadPartWay(link, 5);
    ASSERT_TRUE(camera.Stop());  // its side of the line closes: a hang-up
  }
  ExpectReadFails(link);
  EXPECT_TRUE(link.Comm().Enabled());  // open for its owner until closed
  // Nothing to set on a vanished device, and nothing raised each time the
  // link sends a frame meanwhile.
  EXPECT_NO_THROW(link.Comm().SetRTSState(false));
  EXPECT_NO_THROW(link.Comm().SetRTSState(true));
  EXPECT_LT(CpuOverOneSecond(link), kGoneCpuLimitSeconds);

  SimProcess camera(SimProgramBesideThis(), CameraOn(com1));
  ASSERT_FALSE(camera.WaitReady().empty()) << camera.Output();
  link.Close();
  ASSERT_TRUE(link.Open(com1, 9600));
  ExpectReadWorks(link);
}

TEST(FaultDevice, SymlinkedDeviceRemovedAndBack) {
  TempFolder folder;
  const std::string com1 = folder.Path() + "/Com1";
  SimProcess camera(SimProgramBesideThis(), kCamera);
  const std::string pty = camera.WaitReady();
  ASSERT_FALSE(pty.empty()) << camera.Output();
  ASSERT_EQ(::symlink(pty.c_str(), com1.c_str()), 0);
  LinkSession link;
  ASSERT_TRUE(link.Open(com1, 9600));
  link.Start();
  ASSERT_TRUE(link.WaitLinked(kLinkTime));

  ReadPartWay(link, 3);
  ASSERT_EQ(::unlink(com1.c_str()), 0);
  link.Close();
  EXPECT_FALSE(link.Open(com1, 9600));
  EXPECT_FALSE(link.Comm().Enabled());
  ExpectReadFails(link);
  EXPECT_LT(CpuOverOneSecond(link), kGoneCpuLimitSeconds);
  EXPECT_EQ(link.Window().lamp, LampColour::Red);

  ASSERT_EQ(::symlink(pty.c_str(), com1.c_str()), 0);
  ASSERT_TRUE(link.Open(com1, 9600));
  ExpectReadWorks(link);
}

TEST(FaultDevice, PortRefusingRts) {
  SimProcess camera(SimProgramBesideThis(), kCamera);
  const std::string pty = camera.WaitReady();
  ASSERT_FALSE(pty.empty()) << camera.Output();
  std::unique_ptr<RtsRefusingPort> refusing;
  LinkSession link([&refusing](LinkPort& inner) -> LinkPort& {
    refusing = std::make_unique<RtsRefusingPort>(inner);
    return *refusing;
  });
  ASSERT_TRUE(link.Open(pty, 9600));
  link.Start();
  ASSERT_TRUE(link.WaitLinked(kLinkTime));

  // RTS cannot be raised after a frame: the transmit-empty handler fails on
  // the event thread, which ends; no reply is seen until the port is opened
  // again, so the transfer fails on the watchdog.
  refusing->refuseRaise = true;
  ReadPartWay(link, 1);
  ExpectReadFails(link);
  EXPECT_LT(CpuOverOneSecond(link), kGoneCpuLimitSeconds);
  EXPECT_EQ(link.Window().lamp, LampColour::Red);

  refusing->refuseRaise = false;
  link.Close();
  ASSERT_TRUE(link.Open(pty, 9600));
  ExpectReadWorks(link);

  // RTS cannot be dropped: the command reports the component's error and
  // nothing goes on the line without RTS control.
  refusing->refuseDrop = true;
  const long bytesBefore = refusing->bytesWritten;
  EXPECT_THROW(link.Engine().ReadButtonClick(), ECommError);
  EXPECT_EQ(refusing->bytesWritten, bytesBefore);
}
