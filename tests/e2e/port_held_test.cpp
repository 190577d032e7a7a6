// A serial port held by another program: ZELTA says so and falls back to the
// other port; with both held it says that too and works once a port is free.
// The other program is this test, holding the port's lock as any serial
// program (and ZELTA itself) takes it.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAction>
#include <QPushButton>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

namespace {

// Opens the device and takes its exclusive lock while it lives.
class HeldPort {
 public:
  explicit HeldPort(const QString& path) {
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) Release();
  }
  ~HeldPort() { Release(); }
  HeldPort(const HeldPort&) = delete;
  HeldPort& operator=(const HeldPort&) = delete;
  bool Held() const { return fd_ >= 0; }
  void Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

const char kCom1Busy[] = "There is not COM1 on PC or other software is using.";
const char kCom2Busy[] = "There is not COM2 on PC or other software is using.";
const char kNoPort[] =
    "There is not serial port on PC or other software is using.\r\nZELTA does't work.";

bool HeardFromZelta(CamSim& sim) {
  return !sim.Frames("RX").isEmpty();
}

}  // namespace

class PortHeldTest : public QObject {
  Q_OBJECT

 private slots:
  void aHeldCom1FallsBackToCom2() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim com1(folder, {}, "Com1");
    CamSim com2(folder, {}, "Com2");
    QVERIFY2(com1.Ready(), qPrintable(com1.Diagnostics()));
    QVERIFY2(com2.Ready(), qPrintable(com2.Diagnostics()));
    HeldPort held(com1.SlavePath());
    QVERIFY(held.Held());

    auto form = StartZelta(folder);
    QCOMPARE(messages.Texts(), QStringList{kCom1Busy});
    QCOMPARE(messages.Messages().first().caption, QString("ERROR"));
    QCOMPARE(messages.Messages().first().icon, MessageIcon::Error);
    QCOMPARE(form->StatusText(0), QString("Com Port : COM2"));
    QVERIFY(Child<QAction>(form, "SerialCOM2")->isChecked());
    QVERIFY(!Child<QAction>(form, "SerialCOM1")->isChecked());
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(com2.Diagnostics()));
    QVERIFY(!HeardFromZelta(com1));

    // The port in use is the one remembered.
    form->close();
    QCOMPARE(folder.Read("Port.dat"), QByteArray("Port&1\r\nBaud Rate&2\r\nProtocol&0"));
  }

  void withBothHeldZeltaWaitsUntilAPortIsFree() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim com1(folder, {}, "Com1");
    CamSim com2(folder, {}, "Com2");
    QVERIFY2(com1.Ready(), qPrintable(com1.Diagnostics()));
    QVERIFY2(com2.Ready(), qPrintable(com2.Diagnostics()));
    HeldPort held1(com1.SlavePath());
    HeldPort held2(com2.SlavePath());
    QVERIFY(held1.Held() && held2.Held());

    auto form = StartZelta(folder);
    QCOMPARE(messages.Texts(), (QStringList{kCom1Busy, kNoPort}));
    // The menu shows the saved port again; nothing is sent.
    QCOMPARE(form->StatusText(0), QString("Com Port : COM1"));
    QVERIFY(Child<QAction>(form, "SerialCOM1")->isChecked());
    QVERIFY(!Child<QAction>(form, "SerialCOM2")->isChecked());
    QTest::qWait(700);  // more than one watchdog interval: the polls go nowhere
    QCOMPARE(form->LinkView().Lamp(), LampColour::Red);
    QVERIFY(!HeardFromZelta(com1));
    QVERIFY(!HeardFromZelta(com2));

    // COM1 is freed; choosing COM2 (still held) falls back to it.
    held1.Release();
    messages.Clear();
    Child<QAction>(form, "SerialCOM2")->trigger();
    QCOMPARE(messages.Texts(), QStringList{kCom2Busy});
    QCOMPARE(form->StatusText(0), QString("Com Port : COM1"));
    QVERIFY(Child<QAction>(form, "SerialCOM1")->isChecked());
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(com1.Diagnostics()));
    QVERIFY(!HeardFromZelta(com2));
  }
};

ZELTA_E2E_MAIN(PortHeldTest)
#include "port_held_test.moc"
