#include <gtest/gtest.h>

#include <vector>

#include "tests/comm/support/comm_fixture.h"

namespace {

using CommProperties = CommFixture;

TEST(CommDefaults, ConstructorSetsTheDefaults) {
  TComm comm;
  EXPECT_EQ(comm.DeviceName(), "Com2");
  EXPECT_EQ(comm.ReadTimeout(), 1000);
  EXPECT_EQ(comm.WriteTimeout(), 1000);
  EXPECT_EQ(comm.ReadBufSize(), 4096);
  EXPECT_EQ(comm.WriteBufSize(), 2048);
  EXPECT_EQ(comm.SuspendTime(), 5u);
  EXPECT_EQ(comm.MonitorEvents(), AllCommEvents());
  EXPECT_EQ(CommEventMask(comm.MonitorEvents()), 0x01FFu);
  EXPECT_EQ(comm.BaudRate(), br9600);
  EXPECT_EQ(comm.Parity(), paNone);
  EXPECT_EQ(comm.StopBits(), sb10);
  EXPECT_EQ(comm.DataBits(), da8);
  EXPECT_TRUE(comm.Options().Empty());
  EXPECT_EQ(comm.FlowControl(), fcDefault);
  EXPECT_EQ(comm.EventChars().XOnChar(), 17);
  EXPECT_EQ(comm.EventChars().XOffChar(), 19);
  EXPECT_EQ(comm.EventChars().EvtChar(), 0);
  EXPECT_FALSE(comm.Enabled());
}

TEST(CommDefaults, EnumerationsMapToTheirBitsAndSpeeds) {
  EXPECT_EQ(BaudRateBitsPerSecond(br110), 110);
  EXPECT_EQ(BaudRateBitsPerSecond(br4800), 4800);
  EXPECT_EQ(BaudRateBitsPerSecond(br256000), 256000);
  EXPECT_EQ(CommEventMask({evRxChar, evTxEmpty}), 0x0005u);
  EXPECT_EQ(CommEventBit(evBreak), 0x0040u);
  EXPECT_EQ(CommEventBit(evRing), 0x0100u);
}

TEST_F(CommProperties, BaudRateChangeIsVisibleFromTheOtherEnd) {
  OpenOrFail();
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B9600));
  comm.SetBaudRate(br1200);
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B1200));
  comm.SetBaudRate(br4800);
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B4800));
  EXPECT_EQ(comm.LineSettings().BaudRate, 4800u);
}

TEST_F(CommProperties, SettingTheSameValueDoesNothing) {
  OpenOrFail();
  // Change the line behind the component's back; an equal value must not
  // re-apply the settings.
  termios t = pty.SlaveTermios();
  cfsetospeed(&t, B2400);
  cfsetispeed(&t, B2400);
  pty.SetSlaveTermios(t);
  comm.SetBaudRate(br9600);
  comm.SetParity(paNone);
  comm.SetDataBits(da8);
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B2400));
  comm.SetStopBits(sb20);
  EXPECT_EQ(pty.SlaveSpeed(), static_cast<speed_t>(B9600));
  EXPECT_NE(pty.SlaveTermios().c_cflag & CSTOPB, 0u);
}

TEST_F(CommProperties, LineSettingsWhileClosedAreStoredAndAppliedByOpen) {
  comm.SetBaudRate(br2400);
  comm.SetStopBits(sb20);
  comm.SetDataBits(da7);
  OpenOrFail();
  const termios t = pty.SlaveTermios();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
  EXPECT_NE(t.c_cflag & CSTOPB, 0u);
  // The record tells what the line uses: a pseudo-terminal always has 8 data
  // bits and no parity, and no line has one and a half stop bits beside 8.
  EXPECT_EQ(comm.LineSettings().ByteSize, 8);
  EXPECT_EQ(comm.LineSettings().StopBits, 2);
  comm.SetStopBits(sb15);
  EXPECT_EQ(comm.StopBits(), sb15);
  EXPECT_EQ(comm.LineSettings().StopBits, 2);
  EXPECT_NE(t.c_cflag & CLOCAL, 0u);
  EXPECT_NE(t.c_cflag & CREAD, 0u);
  EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(CommProperties, DeviceNameIsIgnoredWhileOpenAlsoAfterClose) {
  OpenOrFail();
  comm.SetDeviceName("/dev/elsewhere");
  comm.SetReadBufSize(100);
  comm.SetWriteBufSize(100);
  comm.SetSuspendTime(9);
  comm.SetMonitorEvents({evRxChar});
  comm.Close();
  EXPECT_EQ(comm.DeviceName(), pty.SlavePath());
  EXPECT_EQ(comm.ReadBufSize(), 4096);
  EXPECT_EQ(comm.WriteBufSize(), 2048);
  EXPECT_EQ(comm.SuspendTime(), 5u);
  EXPECT_EQ(comm.MonitorEvents(), AllCommEvents());
  comm.SetDeviceName("/dev/elsewhere");
  EXPECT_EQ(comm.DeviceName(), "/dev/elsewhere");
}

TEST_F(CommProperties, ParityCheckWithNoParity) {
  comm.SetOptions({coParityCheck});
  OpenOrFail();
  EXPECT_TRUE(comm.LineSettings().fParity);
  EXPECT_EQ(comm.LineSettings().Parity, 0);
  const termios t = pty.SlaveTermios();
  EXPECT_NE(t.c_iflag & INPCK, 0u);
  EXPECT_EQ(t.c_cflag & PARENB, 0u);
  EXPECT_EQ(comm.LineSettings().XonLim, 1024);
  EXPECT_EQ(comm.LineSettings().XoffLim, 1024);
}

TEST_F(CommProperties, MarkAndSpaceParity) {
  OpenOrFail();
  // A pseudo-terminal drops PARENB but keeps the other parity flags; the
  // record reads back the parity the line really has: none.
  comm.SetParity(paMark);
  EXPECT_EQ(pty.SlaveTermios().c_cflag & (CMSPAR | PARODD), static_cast<tcflag_t>(CMSPAR | PARODD));
  comm.SetParity(paSpace);
  EXPECT_EQ(pty.SlaveTermios().c_cflag & (CMSPAR | PARODD), static_cast<tcflag_t>(CMSPAR));
  comm.SetParity(paOdd);
  EXPECT_EQ(pty.SlaveTermios().c_cflag & (CMSPAR | PARODD), static_cast<tcflag_t>(PARODD));
  EXPECT_EQ(comm.LineSettings().Parity, 0);
}

TEST_F(CommProperties, UnsupportedDataBitsRaiseAndKeepTheNewValue) {
  OpenOrFail();
  try {
    comm.SetDataBits(da4);
    FAIL() << "no error";
  } catch (const ECommError& e) {
    EXPECT_STREQ(e.what(), "Error updating DataControlBlock (Error: 22)");
  }
  EXPECT_EQ(comm.DataBits(), da4);
  EXPECT_TRUE(comm.Enabled());
}

TEST_F(CommProperties, EventCharsApplyAtOnceButAssignDoesNot) {
  OpenOrFail();
  comm.EventChars().SetEvtChar(0x7E);
  EXPECT_EQ(comm.LineSettings().EvtChar, 0x7E);
  comm.EventChars().SetXOnChar(0x01);
  EXPECT_EQ(pty.SlaveTermios().c_cc[VSTART], 0x01);
  TCommEventChars source(nullptr);
  source.SetXOffChar(0x02);
  source.SetByIndex(6, 0x55);  // no such member
  comm.EventChars().Assign(source);
  EXPECT_EQ(comm.EventChars().XOffChar(), 0x02);
  EXPECT_EQ(comm.EventChars().EvtChar(), 0);
  EXPECT_EQ(comm.LineSettings().XoffChar, 19) << "Assign applied the settings";
}

TEST_F(CommProperties, LineStateSettersNeedAnOpenPort) {
  try {
    comm.SetRTSState(true);
    FAIL() << "no error";
  } catch (const ECommError& e) {
    EXPECT_STREQ(e.what(), "Port not open (Error: -1)");
  }
  EXPECT_THROW(comm.SetDTRState(true), ECommError);
  EXPECT_THROW(comm.SetBREAKState(false), ECommError);
  EXPECT_THROW(comm.SetXONState(true), ECommError);
  EXPECT_FALSE(comm.GetModemState(1));
  EXPECT_FALSE(comm.GetComState(1));
}

TEST_F(CommProperties, PseudoTerminalActsAsANullModemCable) {
  OpenOrFail();
  EXPECT_NO_THROW(comm.SetRTSState(false));
  EXPECT_NO_THROW(comm.SetRTSState(true));
  EXPECT_NO_THROW(comm.SetDTRState(true));
  EXPECT_NO_THROW(comm.SetBREAKState(false));
  for (int i = 0; i <= 5; ++i) EXPECT_FALSE(comm.GetModemState(i));
  try {
    comm.EscapeComm(77);
    FAIL() << "no error";
  } catch (const ECommError& e) {
    EXPECT_STREQ(e.what(), "EscapeCommFunction failure (Error: 22)");
  }
}

TEST_F(CommProperties, WriteUnderXoffEndsWithinItsTimeOutThenXonResumes) {
  OpenOrFail();
  comm.SetXONState(false);
  // The line is held: the write gives up after its time-out, not never.
  EXPECT_EQ(comm.Write("ab", 2), 0);
  comm.SetXONState(true);
  EXPECT_EQ(comm.Write("cd", 2), 2);
  EXPECT_EQ(pty.Read(2), (std::vector<uint8_t>{'c', 'd'}));
}

TEST_F(CommProperties, WriteTimeOutKeepsTheSpeedOfOpen) {
  comm.SetBaudRate(br1200);  // 16 ms a byte from here on
  OpenOrFail();
  comm.SetBaudRate(br9600);
  comm.SetXONState(false);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(comm.Write("0123456789", 10), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(155));
  EXPECT_LT(took, std::chrono::milliseconds(1000));
  comm.SetXONState(true);
}

}  // namespace
