// The PTZ buttons: the bytes that reach the port in each protocol.
#include <QtTest>

#include "link/camera_items.h"
#include "link/ptz_buttons.h"
#include "tests/ui/pelco_link_harness.h"

namespace {

const PtzButton kAllButtons[] = {PtzButton::Up,     PtzButton::Down,        PtzButton::Left,
                                 PtzButton::Right,  PtzButton::Select,      PtzButton::OsdOn,
                                 PtzButton::Colour, PtzButton::WhiteBalance};

QByteArray Hex(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()))
      .toHex(' ')
      .toUpper();
}

}  // namespace

class PelcoButtonsTest : public QObject {
  Q_OBJECT

 private:
  // One press with that protocol and address; the bytes on the line.
  Bytes Press(PtzButton button, int protocol, uint8_t address) {
    LinkHarness<> h;
    h.window.protocolCode = protocol;
    h.cameraAddress = address;
    PtzButtonClick(h.link, h.window, address, button);
    return h.port.written;
  }

 private slots:
  void workedExamplesReachThePort_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("line");
    auto row = [](const char* name, PtzButton button, int protocol, int address, const char* hex) {
      QTest::newRow(name) << int(button) << protocol << address
                          << QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
    };
    // Two-frame buttons: movement then Stop, directly one after the other.
    row("P up 1", PtzButton::Up, 0, 1, "A0 00 00 08 00 3F AF 38 A0 00 00 00 00 00 AF 0F");
    row("D up 1", PtzButton::Up, 1, 1, "FF 01 00 08 00 3F 48 FF 01 00 00 00 00 01");
    row("E up 1", PtzButton::Up, 2, 1, "02 00 01 04 00 07 02 00 01 00 00 03");
    row("P left 1", PtzButton::Left, 0, 1, "A0 00 00 08 00 3F AF 38 A0 00 00 00 00 00 AF 0F");
    row("D left 1", PtzButton::Left, 1, 1, "FF 01 00 08 00 3F 48 FF 01 00 00 00 00 01");
    row("E left 1", PtzButton::Left, 2, 1, "02 00 01 04 00 07 02 00 01 00 00 03");
    row("P down 37", PtzButton::Down, 0, 37, "A0 24 00 10 00 3F AF 04 A0 24 00 00 00 00 AF 2B");
    row("D down 37", PtzButton::Down, 1, 37, "FF 25 00 10 00 3F 74 FF 25 00 00 00 00 25");
    row("E down 37", PtzButton::Down, 2, 37, "02 24 01 08 00 2F 02 24 01 00 00 27");
    row("P right 37", PtzButton::Right, 0, 37, "A0 24 00 10 00 3F AF 04 A0 24 00 00 00 00 AF 2B");
    row("D right 37", PtzButton::Right, 1, 37, "FF 25 00 10 00 3F 74 FF 25 00 00 00 00 25");
    row("E right 37", PtzButton::Right, 2, 37, "02 24 01 08 00 2F 02 24 01 00 00 27");
    // One-frame buttons: no Stop follows.
    row("P select 1", PtzButton::Select, 0, 1, "A0 00 04 00 00 00 AF 0B");
    row("D select 1", PtzButton::Select, 1, 1, "FF 01 02 00 00 00 03");
    row("E select 1", PtzButton::Select, 2, 1, "02 00 01 00 01 04");
    row("P osd 1", PtzButton::OsdOn, 0, 1, "A0 00 00 03 00 5F AF 53");
    row("D osd 1", PtzButton::OsdOn, 1, 1, "FF 01 00 03 00 5F 63");
    row("E osd 1", PtzButton::OsdOn, 2, 1, "02 00 02 5F 63");
    row("P colour 37", PtzButton::Colour, 0, 37, "A0 24 00 07 00 58 AF 74");
    row("D colour 37", PtzButton::Colour, 1, 37, "FF 25 00 07 00 58 84");
    row("E colour 37", PtzButton::Colour, 2, 37, "02 24 02 58 80");
    row("P wb 199", PtzButton::WhiteBalance, 0, 199, "A0 C6 00 07 00 59 AF 97");
    row("D wb 199", PtzButton::WhiteBalance, 1, 199, "FF C7 00 07 00 59 27");
    row("E wb 199", PtzButton::WhiteBalance, 2, 199, "02 C6 02 59 23");
    // Address 0 (only a protocol state reply gives it): the byte wraps in 8 bits.
    row("P up 0", PtzButton::Up, 0, 0, "A0 FF 00 08 00 3F AF C7 A0 FF 00 00 00 00 AF F0");
    row("D up 0", PtzButton::Up, 1, 0, "FF 00 00 08 00 3F 47 FF 00 00 00 00 00 00");
    row("E up 0", PtzButton::Up, 2, 0, "02 FF 01 04 00 06 02 FF 01 00 00 02");
  }
  void workedExamplesReachThePort() {
    QFETCH(int, button);
    QFETCH(int, protocol);
    QFETCH(int, address);
    QFETCH(QByteArray, line);
    const Bytes expected(line.begin(), line.end());
    QCOMPARE(Hex(Press(static_cast<PtzButton>(button), protocol, static_cast<uint8_t>(address))),
             Hex(expected));
  }

  void eachFrameGoesOutOneByteAtATimeWithRtsDropped() {
    LinkHarness<> h;
    PtzButtonClick(h.link, h.window, 1, PtzButton::Up);
    QCOMPARE(h.port.writeCalls, 16);
    QVERIFY(!h.port.rts);
    QVERIFY(!h.state.AwaitingReply);  // no PTZ frame expects an answer
  }

  void aPressReArmsTheWatchdogWith500Ms() {
    LinkHarness<> h;
    h.StartLinked();
    h.existTimer.interval = 3000;
    const int before = h.existTimer.restarts;
    PtzButtonClick(h.link, h.window, 1, PtzButton::Select);
    QCOMPARE(h.existTimer.restarts, before + 1);
    QVERIFY(h.existTimer.active);
    QCOMPARE(h.existTimer.Interval(), 500);
  }

  void protocolAndAddressChangesBetweenPressesChangeTheFrames() {
    LinkHarness<> h;
    h.window.protocolCode = 0;
    PtzButtonClick(h.link, h.window, 1, PtzButton::Select);
    QCOMPARE(Hex(h.port.written), QByteArray("A0 00 04 00 00 00 AF 0B"));
    h.port.Clear();
    h.window.protocolCode = 2;
    PtzButtonClick(h.link, h.window, 1, PtzButton::Select);
    QCOMPARE(Hex(h.port.written), QByteArray("02 00 01 00 01 04"));
    h.port.Clear();
    PtzButtonClick(h.link, h.window, 37, PtzButton::Select);
    QCOMPARE(Hex(h.port.written), QByteArray("02 24 01 00 01 28"));
    h.port.Clear();
    h.window.protocolCode = 1;
    PtzButtonClick(h.link, h.window, 37, PtzButton::Select);
    QCOMPARE(Hex(h.port.written), QByteArray("FF 25 02 00 00 00 27"));
  }

  void theFramesAreBuiltInTheProgramsBuffer() {
    LinkHarness<> h;
    h.window.protocolCode = 2;
    PtzButtonClick(h.link, h.window, 1, PtzButton::OsdOn);
    // ERNITEC frames are built from byte 8; the Pelco area keeps what it had.
    QCOMPARE(PtzFrame[8], uint8_t{0x02});
    QCOMPARE(PtzFrame[12], uint8_t{0x63});
    h.window.protocolCode = 0;
    PtzButtonClick(h.link, h.window, 1, PtzButton::Select);
    QCOMPARE(PtzFrame[0], uint8_t{0xA0});
    QCOMPARE(PtzFrame[12], uint8_t{0x63});
  }

  void noProtocolCheckedSendsNothing() {
    LinkHarness<> h;
    h.window.protocolCode = -1;
    for (const PtzButton button : kAllButtons) PtzButtonClick(h.link, h.window, 1, button);
    QVERIFY(h.port.written.empty());
  }

  void aPressDuringReadCameraSendsNothing() {
    LinkHarness<> h;
    h.StartLinked();
    h.link.ReadButtonClick();
    QVERIFY(h.link.LinkBusy());
    h.port.Clear();
    const int restarts = h.existTimer.restarts;
    for (const PtzButton button : kAllButtons) PtzButtonClick(h.link, h.window, 1, button);
    QVERIFY(h.port.written.empty());
    QCOMPARE(h.existTimer.restarts, restarts);
  }

  void aClosedPortLosesTheFramesSilently() {
    LinkHarness<> h;
    h.port.enabled = false;
    PtzButtonClick(h.link, h.window, 1, PtzButton::Up);
    QVERIFY(h.port.written.empty());
  }

  void protocolSpeedSweepsEverySpeedAndEndsAtTheMenusSpeed() {
    LinkHarness<> h;
    h.window.baudCode = kBaudCode4800;
    h.port.baud = 4800;
    h.link.ProtocolSpeedClick();
    for (size_t frame = 0; frame < kLineSpeedCount; ++frame) h.link.Comm1TxEmpty();
    const Bytes speedFrame = {0xCC, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x08};
    Bytes sweep;
    for (size_t frame = 0; frame < kLineSpeedCount; ++frame) sweep = Concat({sweep, speedFrame});
    QCOMPARE(Hex(h.port.written), Hex(sweep));
    for (size_t i = 0; i < h.port.writtenBaud.size(); ++i) {
      QCOMPARE(h.port.writtenBaud[i], kLineSpeeds[i / kFrameSize].bitsPerSecond);
    }
    QCOMPARE(h.port.baud, 4800);
    QCOMPARE(h.link.ProtocolSpeedStep, QamProtocol::kSweepIdle);
  }

  void buttonsUseTheirFramePairs() {
    struct Pair {
      PtzButton button;
      PtzCommand command;
      bool thenStop;
    };
    const Pair pairs[] = {
        {PtzButton::Up, PtzCommand::Up, true},
        {PtzButton::Left, PtzCommand::Up, true},
        {PtzButton::Down, PtzCommand::Down, true},
        {PtzButton::Right, PtzCommand::Down, true},
        {PtzButton::Select, PtzCommand::Select, false},
        {PtzButton::OsdOn, PtzCommand::OsdOn, false},
        {PtzButton::Colour, PtzCommand::Colour, false},
        {PtzButton::WhiteBalance, PtzCommand::WhiteBalance, false},
    };
    for (const Pair& p : pairs) {
      const PtzButtonFrames frames = FramesOfButton(p.button);
      QVERIFY(frames.command == p.command);
      QCOMPARE(frames.thenStop, p.thenStop);
    }
  }
};

QTEST_MAIN(PelcoButtonsTest)
#include "pelco_buttons_test.moc"
