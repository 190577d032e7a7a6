#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/comm/support/comm_fixture.h"

namespace {

using CommOpen = CommFixture;

std::string MakeTempFolder() {
  char tmpl[] = "/tmp/zelta-comm-XXXXXX";
  const char* dir = mkdtemp(tmpl);
  return dir != nullptr ? dir : "/tmp";
}

TEST_F(CommOpen, OpensThePseudoTerminalAndStartsOneThread) {
  OpenOrFail();
  ASSERT_NE(comm.EventThread(), nullptr);
  EXPECT_TRUE(comm.EventThread()->Running());
}

TEST_F(CommOpen, MissingDeviceIsNoErrorAndStartsNoThread) {
  comm.SetDeviceName("/dev/zelta-no-such-port");
  EXPECT_NO_THROW(comm.Open());
  EXPECT_FALSE(comm.Enabled());
  EXPECT_EQ(comm.EventThread(), nullptr);
  EXPECT_EQ(comm.Write("x", 1), -1);
}

TEST_F(CommOpen, RegularFileIsRefusedAsNotACharacterDevice) {
  const std::string folder = MakeTempFolder();
  const std::string file = folder + "/plain";
  std::ofstream(file) << "x";
  comm.SetDeviceName(file);
  EXPECT_NO_THROW(comm.Open());
  EXPECT_FALSE(comm.Enabled());
  EXPECT_EQ(comm.EventThread(), nullptr);
  unlink(file.c_str());
  rmdir(folder.c_str());
}

TEST_F(CommOpen, OpenTwiceRaisesAndLeavesThePortOpenWithItsThread) {
  OpenOrFail();
  const auto thread = comm.EventThread();
  try {
    comm.Open();
    FAIL() << "no error";
  } catch (const ECommError& e) {
    EXPECT_STREQ(e.what(), "Port already assigned (open) (Error: -1)");
    EXPECT_EQ(e.Code(), -1);
  }
  EXPECT_TRUE(comm.Enabled());
  EXPECT_EQ(comm.EventThread(), thread);
  EXPECT_TRUE(thread->Running());
  EXPECT_THROW(comm.CheckOpen(), ECommError);
}

TEST_F(CommOpen, FailedLineSettingsLeaveThePortOpenWithoutThreadUntilClose) {
  comm.SetDataBits(da4);
  try {
    comm.Open();
    FAIL() << "no error";
  } catch (const ECommError& e) {
    EXPECT_STREQ(e.what(), "Error updating DataControlBlock (Error: 22)");
  }
  EXPECT_TRUE(comm.Enabled());
  EXPECT_EQ(comm.EventThread(), nullptr);
  try {
    comm.Open();
    FAIL() << "no error";
  } catch (const ECommError& e) {
    EXPECT_STREQ(e.what(), "Port already assigned (open) (Error: -1)");
  }
  comm.Close();
  EXPECT_FALSE(comm.Enabled());
  TComm other(handOver);
  other.SetDeviceName(pty.SlavePath());
  other.Open();
  EXPECT_TRUE(other.Enabled()) << "the device was not freed";
}

TEST_F(CommOpen, SecondOpenerOfTheSameDeviceSeesItBusy) {
  OpenOrFail();
  TComm other(handOver);
  other.SetDeviceName(pty.SlavePath());
  EXPECT_NO_THROW(other.Open());
  EXPECT_FALSE(other.Enabled());
  comm.Close();
  other.Open();
  EXPECT_TRUE(other.Enabled());
}

TEST_F(CommOpen, ComNameResolvesToAnEntryInTheProgramFolder) {
  const std::string folder = MakeTempFolder();
  const std::string link = folder + "/Com1";
  ASSERT_EQ(symlink(pty.SlavePath().c_str(), link.c_str()), 0);
  comm.SetDeviceName("Com1");
  comm.SetProgramFolder(folder);
  comm.Open();
  EXPECT_TRUE(comm.Enabled());
  EXPECT_EQ(comm.Write("hi", 2), 2);
  EXPECT_EQ(pty.Read(2), (std::vector<uint8_t>{'h', 'i'}));
  comm.Close();
  unlink(link.c_str());
  rmdir(folder.c_str());
}

TEST_F(CommOpen, CloseThenOpenStartsANewThread) {
  OpenOrFail();
  const std::weak_ptr<TCommEventThread> first = comm.EventThread();
  comm.Close();
  EXPECT_FALSE(comm.Enabled());
  EXPECT_EQ(comm.EventThread(), nullptr);
  EXPECT_NO_THROW(comm.Close());
  OpenOrFail();
  EXPECT_NE(comm.EventThread(), first.lock());
  // The first thread ends by itself and frees itself.
  EXPECT_TRUE(PumpUntil([&] { return first.expired(); }));
}

TEST_F(CommOpen, WithoutHandOverThePortOpensWithoutThread) {
  TComm plain;
  plain.SetDeviceName(pty.SlavePath());
  plain.Open();
  EXPECT_TRUE(plain.Enabled());
  EXPECT_EQ(plain.EventThread(), nullptr);
  EXPECT_EQ(plain.Write("a", 1), 1);
}

}  // namespace
