#include "platform/serial_device.h"

#include <gtest/gtest.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>
#include <vector>

#include "platform/device_names.h"
#include "platform/device_watch.h"
#include "platform/serial_event_wait.h"
#include "platform/serial_ports.h"
#include "tests/comm/support/pseudo_terminal.h"
#include "tests/comm/support/scripted_driver.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::unique_ptr<SerialDevice> OpenAt(const PseudoTerminal& pty, uint32_t baud,
                                     std::shared_ptr<SerialDriver> driver = KernelSerialDriver()) {
  auto device = SerialDevice::Open(pty.SlavePath(), std::move(driver));
  if (!device) return nullptr;
  SerialLineSettings s;
  device->GetLineSettings(s);
  s.BaudRate = baud;
  if (device->SetLineSettings(s) != 0) return nullptr;
  return device;
}

// Waits for the next event, for a few seconds at most: an event that never
// comes fails the test with `what`, instead of hanging it until the runner
// gives up.
uint32_t NextEvent(SerialEventWait& wait, const char* what = "the next event") {
  uint32_t events = 0;
  auto waited = std::async(std::launch::async, [&wait, &events] { return wait.Wait(events); });
  if (waited.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
    ADD_FAILURE() << "no " << what << " within 3 s";
    wait.Stop();
  }
  return waited.get() == SerialEventWait::Result::Event ? events : 0;
}
namespace fs = std::filesystem;

std::string MakeTempFolder() {
  char tmpl[] = "/tmp/zelta-platform-XXXXXX";
  const char* dir = mkdtemp(tmpl);
  return dir != nullptr ? dir : "/tmp";
}

TEST(PlatformDeviceNames, ComNamesFallBackToTheOnBoardPorts) {
  const std::string folder = MakeTempFolder();
  EXPECT_EQ(ResolveSerialDeviceName("Com1", folder), "/dev/ttyS0");
  EXPECT_EQ(ResolveSerialDeviceName("Com2", folder), "/dev/ttyS1");
  EXPECT_EQ(ResolveSerialDeviceName("/dev/ttyUSB3", folder), "/dev/ttyUSB3");
  EXPECT_EQ(ResolveSerialDeviceName("Com3", folder), "Com3");
  const std::string link = folder + "/Com2";
  ASSERT_EQ(symlink("/dev/ttyUSB0", link.c_str()), 0);
  EXPECT_EQ(ResolveSerialDeviceName("Com2", folder), link);
  unlink(link.c_str());
  rmdir(folder.c_str());
}

TEST(PlatformDeviceNames, LinkingComNamesReplacesOnlyLinks) {
  const std::string folder = MakeTempFolder();
  const std::string com1 = folder + "/Com1";
  EXPECT_EQ(LinkSerialDeviceName("Com1", folder, "/dev/ttyUSB0"), "");
  EXPECT_EQ(ResolveSerialDeviceName("Com1", folder), com1);
  EXPECT_EQ(fs::read_symlink(com1), "/dev/ttyUSB0");
  EXPECT_EQ(LinkSerialDeviceName("Com1", folder, "/dev/serial/by-id/usb-X-if00"), "");
  EXPECT_EQ(fs::read_symlink(com1), "/dev/serial/by-id/usb-X-if00");
  std::ofstream(folder + "/Com2") << "not a link";
  EXPECT_EQ(LinkSerialDeviceName("Com2", folder, "/dev/ttyUSB0"),
            folder + "/Com2 is not a symbolic link");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  fs::remove_all(folder);
}

// A folder standing in for /dev: pseudo-terminals in place of the devices.
TEST(PlatformSerialPorts, ListsAdaptersByStableNameThenKernelPorts) {
  const fs::path root = MakeTempFolder();
  const fs::path dev = root / "dev";
  const fs::path sys = root / "sys";
  fs::create_directories(dev / "serial/by-id");
  PseudoTerminal usb, acm, s0, s1;
  fs::create_symlink(usb.SlavePath(), dev / "ttyUSB0");
  fs::create_symlink(acm.SlavePath(), dev / "ttyACM10");
  fs::create_symlink(acm.SlavePath(), dev / "ttyACM2x");  // not a kernel port name
  fs::create_symlink(s0.SlavePath(), dev / "ttyS0");
  fs::create_symlink(s1.SlavePath(), dev / "ttyS1");
  std::ofstream(dev / "ttyUSB1") << "not a device";
  fs::create_symlink("../../ttyUSB0", dev / "serial/by-id/usb-FTDI_FT232R_USB_UART_A50-if00-port0");
  fs::create_directories(sys / "ttyS0");
  fs::create_directories(sys / "ttyS1");
  std::ofstream(sys / "ttyS0/type") << "4\n";
  std::ofstream(sys / "ttyS1/type") << "0\n";  // an empty slot

  const std::string byId = (dev / "serial/by-id/usb-FTDI_FT232R_USB_UART_A50-if00-port0").string();
  SerialPortScan scan{dev.string(), sys.string(),
                      [&byId](const std::string& path) { return path != byId; }};
  const std::vector<SerialPortInfo> ports = ListSerialPorts(scan);
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[0].path, byId);
  EXPECT_EQ(ports[0].deviceName, "ttyUSB0");
  EXPECT_EQ(ports[0].maker, "FTDI");
  EXPECT_EQ(ports[0].product, "FT232R USB UART A50");
  EXPECT_FALSE(ports[0].mayOpen);
  EXPECT_EQ(ports[1].path, (dev / "ttyACM10").string());
  EXPECT_EQ(ports[1].maker, "");
  EXPECT_TRUE(ports[1].mayOpen);
  EXPECT_EQ(ports[2].deviceName, "ttyS0");

  std::string maker, product;
  SplitByIdName("usb-1a86_USB_Serial-if00-port0", maker, product);
  EXPECT_EQ(maker, "1a86");
  EXPECT_EQ(product, "USB Serial");
  fs::remove_all(root);
}

// Whether the watch's descriptor turns readable within a few seconds.
bool Woken(const DeviceWatch& watch) {
  pollfd fd{watch.Descriptor(), POLLIN, 0};
  return ::poll(&fd, 1, 3000) == 1;
}

// The port's link to a stable name whose folder has gone with the adapter:
// the nearest folder there is watched, and the name's return wakes the watch.
TEST(PlatformDeviceWatch, WakesWhenTheNameLeadsToADeviceAgain) {
  const std::string folder = MakeTempFolder();
  const std::string byId = folder + "/serial/by-id";
  const std::string com1 = folder + "/Com1";
  ASSERT_EQ(symlink((byId + "/usb-adapter").c_str(), com1.c_str()), 0);
  EXPECT_EQ(FoldersAlong(com1), (std::vector<std::string>{folder}));

  DeviceWatch watch(com1);
  ASSERT_GE(watch.Descriptor(), 0);
  EXPECT_FALSE(watch.Present());
  fs::create_directories(byId);
  ASSERT_TRUE(Woken(watch)) << "no wake-up for the folder of the stable name";
  watch.Drain();
  EXPECT_FALSE(watch.Present());
  PseudoTerminal pty;
  ASSERT_EQ(symlink(pty.SlavePath().c_str(), (byId + "/usb-adapter").c_str()), 0);
  ASSERT_TRUE(Woken(watch)) << "no wake-up for the stable name";
  watch.Drain();
  EXPECT_TRUE(watch.Present());
  EXPECT_EQ(FoldersAlong(com1), (std::vector<std::string>{folder, byId, "/dev/pts"}));
  fs::remove_all(folder);
}

TEST(PlatformDeviceNames, ExecutableFolderHoldsThisProgram) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(access(folder.c_str(), F_OK), 0);
}

TEST(PlatformSerial, OpenIsExclusiveAndRefusesMissingDevices) {
  PseudoTerminal pty;
  EXPECT_EQ(SerialDevice::Open("/dev/zelta-missing"), nullptr);
  auto first = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsTerminal());
  EXPECT_EQ(SerialDevice::Open(pty.SlavePath()), nullptr);
  first.reset();
  EXPECT_NE(SerialDevice::Open(pty.SlavePath()), nullptr);
}

TEST(PlatformSerial, RegularFileIsNoCharacterDevice) {
  const std::string folder = MakeTempFolder();
  const std::string file = folder + "/f";
  std::ofstream(file) << "x";
  auto device = SerialDevice::Open(file);
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(device->IsTerminal());
  device.reset();
  unlink(file.c_str());
  rmdir(folder.c_str());
}

TEST(PlatformSerial, SpeedsWithoutAConstantAreKept) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  SerialLineSettings s;
  ASSERT_EQ(device->GetLineSettings(s), 0);
  s.BaudRate = 14400;
  ASSERT_EQ(device->SetLineSettings(s), 0);
  SerialLineSettings back;
  ASSERT_EQ(device->GetLineSettings(back), 0);
  EXPECT_EQ(back.BaudRate, 14400u);
  s.BaudRate = 4800;
  ASSERT_EQ(device->SetLineSettings(s), 0);
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B4800));
}

TEST(PlatformSerial, FieldsWithoutATerminalFlagKeepTheirValue) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  SerialLineSettings s;
  device->GetLineSettings(s);
  s.fNull = true;
  s.XonLim = 1024;
  s.EvtChar = 0x7E;
  s.fDtrControl = 2;
  ASSERT_EQ(device->SetLineSettings(s), 0);
  SerialLineSettings back;
  device->GetLineSettings(back);
  EXPECT_TRUE(back.fNull);
  EXPECT_EQ(back.XonLim, 1024);
  EXPECT_EQ(back.EvtChar, 0x7E);
  EXPECT_EQ(back.fDtrControl, 2);
}

TEST(PlatformEventWait, StopEndsABlockedWaitAtOnce) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  int error = 0;
  auto wait = device->CreateEventWait(error);
  ASSERT_NE(wait, nullptr);
  auto result = std::async(std::launch::async, [wait] {
    uint32_t events = 0;
    return wait->Wait(events);
  });
  EXPECT_EQ(result.wait_for(30ms), std::future_status::timeout);
  wait->Stop();
  ASSERT_EQ(result.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(result.get(), SerialEventWait::Result::Stopped);
}

TEST(PlatformEventWait, OutlivesTheDeviceWithoutTouchingItsDescriptor) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  int error = 0;
  auto wait = device->CreateEventWait(error);
  ASSERT_NE(wait, nullptr);
  device.reset();
  // The device is free for the next opener at once, while the wait goes on
  // with its own duplicate.
  auto next = SerialDevice::Open(pty.SlavePath());
  EXPECT_NE(next, nullptr);
  pty.Write({1});
  uint32_t events = 0;
  EXPECT_EQ(wait->Wait(events), SerialEventWait::Result::Event);
  EXPECT_EQ(events, 0x0001u);
}

TEST(PlatformEventWait, ReportsArrivalsNotBytesLeftUnread) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  int error = 0;
  auto wait = device->CreateEventWait(error);
  ASSERT_NE(wait, nullptr);
  pty.Write({1, 2});
  uint32_t events = 0;
  ASSERT_EQ(wait->Wait(events), SerialEventWait::Result::Event);
  EXPECT_EQ(events, 0x0001u);
  auto second = std::async(std::launch::async, [wait] {
    uint32_t e = 0;
    return wait->Wait(e);
  });
  EXPECT_EQ(second.wait_for(50ms), std::future_status::timeout);
  wait->Stop();
  EXPECT_EQ(second.get(), SerialEventWait::Result::Stopped);
}

TEST(PlatformEventWait, TransmitEmptyOnceAfterWrittenBytesDrained) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  int error = 0;
  auto wait = device->CreateEventWait(error);
  ASSERT_NE(wait, nullptr);
  const uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_EQ(device->Write(bytes, 4, error), 4u);
  EXPECT_EQ(error, 0);
  uint32_t events = 0;
  ASSERT_EQ(wait->Wait(events), SerialEventWait::Result::Event);
  EXPECT_EQ(events, 0x0004u);
  SerialStatus status;
  uint32_t errors = 0;
  EXPECT_EQ(device->ClearError(errors, status), 0);
  EXPECT_EQ(status.cbOutQue, 0u);
  EXPECT_EQ(errors, 0u);
}

// How the transmit-empty event follows the driver's answers: the line time of
// the bytes written bounds it from below except where the flag is exact.
TEST(PlatformEventWait, TransmitEmptyFollowsTheDriverWhereItCan) {
  struct Case {
    const char* name;
    int portType;  // PORT_UNKNOWN: a USB adapter
    std::function<int(double, unsigned&)> lineStatus;
    std::function<int(double, int&)> outputQueue;
    uint32_t baud;
    uint32_t oneByteWrites;
    double soonestMs, latestMs;
  };
  const auto flag = [](double emptyFromMs) {
    return [emptyFromMs](double ms, unsigned& lsr) {
      lsr = ms >= emptyFromMs ? TIOCSER_TEMT : 0;
      return 0;
    };
  };
  const Case cases[] = {
      // No flag: ten one-byte writes at 1200 add up to 83 ms of line time.
      {"no flag", PORT_UNKNOWN, nullptr, nullptr, 1200, 10, 80, 200},
      {"flag lagging 60 ms", PORT_UNKNOWN, flag(60), nullptr, 9600, 10, 10, 40},
      {"stale empty flag", PORT_UNKNOWN, flag(0), nullptr, 1200, 10, 80, 200},
      {"flag never set", PORT_UNKNOWN, flag(1e9), nullptr, 9600, 10, 10, 40},
      {"exact flag", PORT_16550A, flag(5), nullptr, 1200, 10, 4, 40},
      // Three bytes still queued at 30 ms: they need 25 ms more.
      {"queue draining late", PORT_UNKNOWN, nullptr,
       [](double ms, int& bytes) {
         bytes = ms < 30 ? 3 : 0;
         return 0;
       },
       1200, 1, 40, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto driver = std::make_shared<ScriptedDriver>();
    driver->serialInfo = [&c](SerialInfo& info) {
      info = {c.portType, ASYNC_LOW_LATENCY};
      return 0;
    };
    driver->lineStatus = c.lineStatus;
    driver->outputQueue = c.outputQueue;
    PseudoTerminal pty;
    auto device = OpenAt(pty, c.baud, driver);
    ASSERT_NE(device, nullptr);
    device->SetEventMask(serial_event::TxEmpty);
    int error = 0;
    auto wait = device->CreateEventWait(error);
    ASSERT_NE(wait, nullptr);
    const auto start = Clock::now();
    driver->Restart();
    for (uint32_t i = 0; i < c.oneByteWrites; ++i) device->Write("x", 1, error);
    EXPECT_EQ(NextEvent(*wait, "transmit-empty event"), serial_event::TxEmpty);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    EXPECT_GE(ms, c.soonestMs);
    EXPECT_LT(ms, c.latestMs);
  }
}

TEST(PlatformEventWait, OneFailedModemQueryIsNoHangUp) {
  auto driver = std::make_shared<ScriptedDriver>();
  int queries = 0;  // the event thread's only
  driver->modemLines = [&queries](double, int& lines) {
    ++queries;
    lines = queries >= 4 ? TIOCM_CTS : 0;
    return queries == 2 ? EIO : 0;
  };
  PseudoTerminal pty;
  auto device = OpenAt(pty, 9600, driver);
  ASSERT_NE(device, nullptr);
  int error = 0;
  auto wait = device->CreateEventWait(error);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(NextEvent(*wait, "CTS event after the failed modem query"), serial_event::Cts);
  EXPECT_FALSE(wait->HungUp());
  pty.Write({1});
  EXPECT_EQ(NextEvent(*wait, "receive event"), serial_event::RxChar);
  // A real hang-up still parks the wait.
  pty.CloseMaster();
  auto parked = std::async(std::launch::async, [wait] {
    uint32_t events = 0;
    while (wait->Wait(events) != SerialEventWait::Result::Stopped) {
    }
  });
  for (int i = 0; i < 100 && !wait->HungUp(); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_TRUE(wait->HungUp());
  wait->Stop();
  EXPECT_EQ(parked.wait_for(2s), std::future_status::ready);
}

// What says the device has gone: an unplugged USB adapter answers its queries
// with ENODEV (or ENXIO), a hung-up terminal fails reads and writes with EIO
// or reads 0, and the pseudo-terminal's far end closing hangs it up. Each is
// reported once as Gone; one failed modem query is not (above).
TEST(PlatformEventWait, ADeviceThatHasGoneIsReportedOnce) {
  struct Case {
    const char* name;
    int modemError, queueError;
    bool closeFarEnd, write, read;
  };
  const Case cases[] = {
      {"modem query ENODEV", ENODEV, 0, false, false, false},
      {"queue query ENXIO after a write", 0, ENXIO, false, true, false},
      {"far end closed", 0, 0, true, false, false},
      {"write after the hang-up", 0, 0, true, true, false},
      {"read after the hang-up", 0, 0, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto driver = std::make_shared<ScriptedDriver>();
    driver->modemLines = [&c](double, int& lines) {
      lines = 0;
      return c.modemError;
    };
    if (c.queueError != 0) driver->outputQueue = [&c](double, int&) { return c.queueError; };
    PseudoTerminal pty;
    auto device = OpenAt(pty, 9600, driver);
    ASSERT_NE(device, nullptr);
    int error = 0;
    auto wait = device->CreateEventWait(error);
    ASSERT_NE(wait, nullptr);
    if (c.closeFarEnd) pty.CloseMaster();
    uint8_t byte = 0;
    if (c.write) device->Write("x", 1, error);
    if (c.read) device->Read(&byte, 1, error);
    EXPECT_NE(NextEvent(*wait) & serial_event::Gone, 0u);
    EXPECT_TRUE(device->Gone());
    if (c.closeFarEnd && (c.write || c.read)) {
      EXPECT_NE(error, 0);
    }
    // Reported once: the wait then parks until Stop.
    auto parked = std::async(std::launch::async, [wait] {
      uint32_t events = 0;
      return wait->Wait(events);
    });
    EXPECT_EQ(parked.wait_for(100ms), std::future_status::timeout);
    wait->Stop();
    ASSERT_EQ(parked.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(parked.get(), SerialEventWait::Result::Stopped);
  }
}

TEST(PlatformSerial, LowLatencyIsAskedForAndUndone) {
  auto driver = std::make_shared<ScriptedDriver>();
  driver->serialInfo = [](SerialInfo& info) {
    info = {PORT_UNKNOWN, ASYNC_SPD_HI};
    return 0;
  };
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath(), driver);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(driver->FlagsSet(), std::vector<int>{ASYNC_SPD_HI | ASYNC_LOW_LATENCY});
  device.reset();
  EXPECT_EQ(driver->FlagsSet(), (std::vector<int>{ASYNC_SPD_HI | ASYNC_LOW_LATENCY, ASYNC_SPD_HI}));
  // Already in low-latency mode, or no such query: nothing is set.
  driver->serialInfo = [](SerialInfo& info) {
    info = {PORT_UNKNOWN, ASYNC_LOW_LATENCY};
    return 0;
  };
  SerialDevice::Open(pty.SlavePath(), driver).reset();
  driver->serialInfo = [](SerialInfo&) { return ENOTTY; };
  EXPECT_NE(SerialDevice::Open(pty.SlavePath(), driver), nullptr);
  EXPECT_EQ(driver->FlagsSet().size(), 2u);
}

TEST(PlatformSerial, HoldFlagsComeFromTheDriver) {
  auto driver = std::make_shared<ScriptedDriver>();
  int lines = 0;
  driver->modemLines = [&lines](double, int& out) {
    out = lines;
    return 0;
  };
  PseudoTerminal pty;
  auto device = OpenAt(pty, 9600, driver);
  ASSERT_NE(device, nullptr);
  SerialStatus status;
  uint32_t errors = 0;
  device->ClearError(errors, status);
  EXPECT_FALSE(status.fCtsHold) << "CTS low without flow control holds nothing";
  SerialLineSettings s;
  device->GetLineSettings(s);
  s.fOutxCtsFlow = true;
  ASSERT_EQ(device->SetLineSettings(s), 0);
  device->ClearError(errors, status);
  EXPECT_TRUE(status.fCtsHold);
  lines = TIOCM_CTS;
  device->ClearError(errors, status);
  EXPECT_FALSE(status.fCtsHold);
  ASSERT_EQ(device->Escape(serial_escape::SetXoff), 0);
  device->ClearError(errors, status);
  EXPECT_TRUE(status.fXoffHold);
  ASSERT_EQ(device->Escape(serial_escape::SetXon), 0);
  device->ClearError(errors, status);
  EXPECT_FALSE(status.fXoffHold);
  EXPECT_FALSE(status.fDsrHold || status.fRlsdHold || status.fXoffSent);
}

TEST(PlatformEventWait, HungUpDeviceParksTheWaitUntilStop) {
  PseudoTerminal pty;
  auto device = SerialDevice::Open(pty.SlavePath());
  ASSERT_NE(device, nullptr);
  int error = 0;
  auto wait = device->CreateEventWait(error);
  ASSERT_NE(wait, nullptr);
  pty.CloseMaster();
  auto parked = std::async(std::launch::async, [wait] {
    int results = 0;
    for (;;) {
      uint32_t events = 0;
      if (wait->Wait(events) == SerialEventWait::Result::Stopped) return results;
      ++results;
    }
  });
  EXPECT_EQ(parked.wait_for(100ms), std::future_status::timeout);
  EXPECT_TRUE(wait->HungUp());
  wait->Stop();
  ASSERT_EQ(parked.wait_for(2s), std::future_status::ready);
  EXPECT_LE(parked.get(), 1);
}

}  // namespace
