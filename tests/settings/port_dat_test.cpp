#include "settings/port_dat.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsPortDat, TheDefaultFileIsThirtyOneBytes) {
  const std::string text = PortDatText(0, 2, 0);
  EXPECT_EQ(text, "Port&0\r\nBaud Rate&2\r\nProtocol&0");
  EXPECT_EQ(text.size(), 31u);
  EXPECT_EQ(PortDatText(1, -1, -1), "Port&1\r\nBaud Rate&\r\nProtocol&");
  // Code 0 (1200 baud, Pelco P) is a code like any other and comes back.
  const PortDatCodes zero = ReadPortDat(PortDatText(0, 0, 0));
  EXPECT_EQ(zero.baud, 0);
  EXPECT_EQ(zero.protocol, 0);
}

// Code 0 is a code like any other: 1200 baud, Com1 and Pelco P come back.
TEST(SettingsPortDat, EveryCodeComesBack) {
  for (int port = 0; port < 2; ++port) {
    for (int baud = 0; baud < 4; ++baud) {
      for (int protocol = 0; protocol < 3; ++protocol) {
        const PortDatCodes codes = ReadPortDat(PortDatText(port, baud, protocol));
        EXPECT_EQ(codes.port, port);
        EXPECT_EQ(codes.baud, baud);
        EXPECT_EQ(codes.protocol, protocol);
      }
    }
  }
}

TEST(SettingsPortDat, KeysAreIgnoredAndLinesToldApartByOrder) {
  const PortDatCodes codes = ReadPortDat("a&1\r\nb&0\r\nc&1");
  EXPECT_EQ(codes.port, 1);
  EXPECT_EQ(codes.baud, 0);
  EXPECT_EQ(codes.protocol, 1);
}

TEST(SettingsPortDat, EveryLineEndEndsALine) {
  for (const char* text : {"Port&1\nBaud Rate&3\nProtocol&2", "Port&1\rBaud Rate&3\rProtocol&2",
                           "Port&1\r\nBaud Rate&3\r\nProtocol&2\r\nextra&9"}) {
    const PortDatCodes codes = ReadPortDat(text);
    EXPECT_EQ(codes.port, 1) << text;
    EXPECT_EQ(codes.baud, 3) << text;
    EXPECT_EQ(codes.protocol, 2) << text;
  }
}

TEST(SettingsPortDat, CodesThatAreNotPlainNumbersGiveNothing) {
  const PortDatCodes codes = ReadPortDat("Port&-1\r\nBaud Rate&1.5\r\nProtocol");
  EXPECT_FALSE(codes.port);
  EXPECT_FALSE(codes.baud);
  EXPECT_FALSE(codes.protocol);
  EXPECT_FALSE(ReadPortDat("Port&\r\n").port);
  EXPECT_FALSE(ReadPortDat("Port&1234567890").port);
  EXPECT_EQ(ReadPortDat("Port&&1").port, std::nullopt);  // the code is after the first "&"
  EXPECT_FALSE(ReadPortDat("").baud);                    // a missing line reads as empty
}

}  // namespace
