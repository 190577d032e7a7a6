// The port with its fall-back to the other one, over pseudo-terminals linked
// as "Com1"/"Com2" in the test's program folder, and the whole chain from the
// window through the serial component to the line and back; choosing the
// adapter with Port > Adapters....
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "comm/comm.h"
#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "link/ptz_frames.h"
#include "link/qam_protocol.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/adapters_form.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/help_file.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/help_viewer.h"
#include "ui/widgets/message_box.h"

namespace {

const QString kNoCom1 = QStringLiteral("There is not COM1 on PC or other software is using.");
const QString kNoCom2 = QStringLiteral("There is not COM2 on PC or other software is using.");
const QString kNoPort = QStringLiteral(
    "There is not serial port on PC or other software is using.\r\nZELTA does't work.");

QByteArray Frame(const uint8_t (&bytes)[kFrameSize]) {
  return QByteArray(reinterpret_cast<const char*>(bytes), kFrameSize);
}

}  // namespace

class ControlPortTest : public QObject {
  Q_OBJECT

 private slots:
  void savedCom2MissingFallsBackToCom1() {
    TestProgramFolder folder;
    MessageLog messages;
    folder.LinkMissingPort(QStringLiteral("Com2"));
    PtyLine com1(folder, QStringLiteral("Com1"));
    QVERIFY(com1.Ok());
    folder.Write(QStringLiteral("Port.dat"), "Port&1\r\nBaud Rate&2\r\nProtocol&0");
    auto form = StartForm(folder);

    QCOMPARE(messages.Texts(), QStringList{kNoCom2});
    QCOMPARE(messages.Messages().first().caption, QStringLiteral("ERROR"));
    QCOMPARE(messages.Messages().first().icon, MessageIcon::Error);
    QVERIFY(form->Comm1->Enabled());
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com1"));
    QVERIFY(Child<QAction>(form, "SerialCOM1")->isChecked() &&
            !Child<QAction>(form, "SerialCOM2")->isChecked());
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM1"));
    form->close();
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")),
             QByteArray("Port&0\r\nBaud Rate&2\r\nProtocol&0"));
  }

  void bothPortsMissing() {
    TestProgramFolder folder;
    MessageLog messages;
    folder.LinkMissingPort(QStringLiteral("Com1"));
    folder.LinkMissingPort(QStringLiteral("Com2"));
    const QByteArray saved("Port&1\r\nBaud Rate&3\r\nProtocol&1");
    folder.Write(QStringLiteral("Port.dat"), saved);
    auto form = StartForm(folder);

    QCOMPARE(messages.Texts(), (QStringList{kNoCom2, kNoPort}));
    QVERIFY(!form->Comm1->Enabled());
    // The saved settings are shown again.
    QVERIFY(Child<QAction>(form, "SerialCOM2")->isChecked() &&
            !Child<QAction>(form, "SerialCOM1")->isChecked());
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM2"));
    QCOMPARE(form->StatusText(1), QStringLiteral("Baud Rate : 9600"));
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com2"));
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")), saved);

    // The checked port again: nothing, not even a new try.
    messages.Clear();
    Child<QAction>(form, "SerialCOM2")->trigger();
    QVERIFY(messages.Messages().isEmpty());
    QVERIFY(Child<QAction>(form, "SerialCOM2")->isChecked() &&
            !Child<QAction>(form, "SerialCOM1")->isChecked());

    // The other port: tried, then the first again, both messages.
    Child<QAction>(form, "SerialCOM1")->trigger();
    QCOMPARE(messages.Texts(), (QStringList{kNoCom1, kNoPort}));
    QVERIFY(!form->Comm1->Enabled());
    QVERIFY(Child<QAction>(form, "SerialCOM2")->isChecked() &&
            !Child<QAction>(form, "SerialCOM1")->isChecked());
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM2"));
    // With the port closed the program keeps running and sends nothing; a
    // ProtocolSpeed press leaves the port at 1200, which is not the choice.
    Child<QToolButton>(form, "UpButton")->click();
    Child<QToolButton>(form, "ProtocolSpeed")->click();
    form->close();
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")), saved);
  }

  void portMenuSwitchesBetweenPresentPorts() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    PtyLine com2(folder, QStringLiteral("Com2"));
    auto form = StartForm(folder);
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com1"));

    Child<QAction>(form, "SerialCOM2")->trigger();
    QVERIFY(messages.Messages().isEmpty());
    QVERIFY(form->Comm1->Enabled());
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com2"));
    QVERIFY(Child<QAction>(form, "SerialCOM2")->isChecked() &&
            !Child<QAction>(form, "SerialCOM1")->isChecked());
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM2"));
    // Frames now leave on COM2.
    com2.Receive(1000, 50);
    Child<QToolButton>(form, "SelectButton")->click();
    QCOMPARE(com2.Receive(8, 1000), QByteArray::fromHex("A0 00 04 00 00 00 AF 0B"));
  }

  // Port > Adapters... over a folder of pseudo-terminals standing in for /dev:
  // the list follows plugging in and out, a device the user may not open says
  // so, and "Use as COM1" links "Com1" to the device and opens it even though
  // COM1 is already the selected port.
  void adaptersDialogLinksAndOpensTheChosenDevice() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    QTemporaryDir root;
    const QString dev = root.filePath(QStringLiteral("dev"));
    QVERIFY(QDir().mkpath(dev));
    PtyLine usb(dev + QStringLiteral("/ttyUSB0"));
    const QString acmPath = dev + QStringLiteral("/ttyACM0");
    SetAdapterScan(
        {QFile::encodeName(dev).toStdString(), root.filePath("sys").toStdString(),
         [](const std::string& path) { return path.find("ttyACM") == std::string::npos; }});
    auto form = StartForm(folder);
    const QList<QAction*> items = Child<QMenu>(form, "COMPORT1")->actions();
    QCOMPARE(items.size(), 4);
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items[3], Child<QAction>(form, "Adapters"));
    QCOMPARE(Child<QAction>(form, "Adapters")->text(), QStringLiteral("Adapters..."));

    bool answered = false;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<TAdaptersForm*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->PortList->count(), 1);
      QCOMPARE(dialog->PortList->item(0)->text(), QStringLiteral("ttyUSB0"));
      {
        PtyLine acm(acmPath);  // plugged in, only its owner may use it
        QVERIFY(chmod(QFile::encodeName(acm.SlavePath()).constData(), 0600) == 0);
        QTRY_COMPARE(dialog->PortList->count(), 2);
        QCOMPARE(dialog->PortList->item(1)->text(),
                 QStringLiteral("ttyACM0 - no access: needs a udev rule"));
        dialog->PortList->setCurrentRow(1);
        dialog->UseCom1Button->click();
        QCOMPARE(messages.Texts(), QStringList{NoAccessText(acmPath)});
        QVERIFY(dialog->isVisible());
        QVERIFY(QFile::remove(acmPath));  // and out again
      }
      QTRY_COMPARE(dialog->PortList->count(), 1);
      dialog->UseCom1Button->click();
      answered = true;
    });
    Child<QAction>(form, "Adapters")->trigger();
    QVERIFY(answered);
    SetAdapterScan({});
    QCOMPARE(QFile::symLinkTarget(folder.FilePath(QStringLiteral("Com1"))),
             dev + QStringLiteral("/ttyUSB0"));
    QVERIFY(form->Comm1->Enabled());
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM1"));
    QCOMPARE(messages.Texts().size(), 1);
    // Frames now leave on the adapter.
    usb.Receive(1000, 50);
    Child<QToolButton>(form, "SelectButton")->click();
    QCOMPARE(usb.Receive(8, 1000), QByteArray::fromHex("A0 00 04 00 00 00 AF 0B"));
  }

  // Nothing selected, nothing to use; the device the other port stands for
  // asks first; the cause of no access; F1 has a topic of its own.
  void adaptersDialogAsksBeforeBothPortsNameOneDevice() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    QTemporaryDir root;
    const QString dev = root.filePath(QStringLiteral("dev"));
    QVERIFY(QDir().mkpath(dev));
    QVERIFY(QFile::link(com1.SlavePath(), dev + QStringLiteral("/ttyUSB0")));
    SetAdapterScan({QFile::encodeName(dev).toStdString(), root.filePath("sys").toStdString(),
                    [](const std::string&) { return true; }});
    TAdaptersForm dialog(nullptr, folder.Path());
    SetAdapterScan({});
    QCOMPARE(HelpContextOf(dialog.PortList), kAdaptersHelpContext);
    SetHelpFilePath(QFINDTESTDATA("../../resources/help/ZELTAHELP.HLP"));
    THelpViewer viewer;
    viewer.ShowTopic(kAdaptersHelpContext);
    QVERIFY(viewer.HasTopic(kAdaptersHelpContext));
    SetHelpFilePath(QString());
    dialog.PortList->clearSelection();
    QVERIFY(!dialog.UseCom1Button->isEnabled() && !dialog.UseCom2Button->isEnabled());
    dialog.PortList->item(0)->setSelected(true);
    QVERIFY(dialog.UseCom1Button->isEnabled() && dialog.UseCom2Button->isEnabled());
    for (const bool yes : {false, true}) {
      SetWarningAnswer(yes);
      dialog.UseCom2Button->click();
      QCOMPARE(dialog.ChosenPort(), yes ? 2 : 0);
    }
    SetWarningAnswer(false);
    QCOMPARE(messages.Messages().size(), 2);
    QCOMPARE(messages.Messages().front().caption, QStringLiteral("WARNING"));
    QVERIFY(messages.Texts().front().startsWith(
        QStringLiteral("COM1 already stands for %1").arg(dev + QStringLiteral("/ttyUSB0"))));

    const QString group = NoAccessText("/dev/ttyUSB0", 0660, "dialout", "ttyUSB0");
    QVERIFY2(group.contains("sudo adduser $USER dialout") && !group.contains("udev"),
             qPrintable(group));
    const QString owner = NoAccessText("/dev/ttyUSB0", 0600, "", "ttyUSB0");
    QVERIFY2(owner.contains("mode 0600") && owner.contains("KERNEL==\"ttyUSB[0-9]*\""),
             qPrintable(owner));
  }

  void pollReplyTurnsLampGreenAndReadCameraStarts() {
    StartedWindow started;
    auto& messages = started.messages;
    auto& com1 = started.com1;
    auto& form = started.form;
    form->show();

    uint8_t poll[kFrameSize];
    BuildPollFrame(poll, 1, kProtocolPelcoP);
    QCOMPARE(com1.Receive(kFrameSize, 2000), Frame(poll));

    uint8_t reply[kFrameSize];
    BuildReplyFrame(reply, 1, kReplyPoll, 0, 0, 0);
    com1.Send(Frame(reply));
    QTRY_COMPARE_WITH_TIMEOUT(Child<TShape>(form, "LightShape")->BrushColor(), QColor(0, 255, 0),
                              2000);
    QVERIFY(Child<QPushButton>(form, "ReadButton")->isEnabled() &&
            Child<QPushButton>(form, "WriteButton")->isEnabled());
    QVERIFY(form->ImageDelayForm->ReadImageDelay->isEnabled());
    QVERIFY(form->ImageDelayForm->WriteImageDelay->isEnabled());

    Child<QPushButton>(form, "ReadButton")->click();
    uint8_t read[kFrameSize];
    BuildReadFrame(read, 1, kItemDNMode, 0);
    QCOMPARE(com1.Receive(kFrameSize, 2000), Frame(read));
    QVERIFY(LinkState.ReadBusy);
    // Meanwhile the line menus are locked, and so are the file commands.
    Child<QAction>(form, "BR1200")->trigger();
    QVERIFY(Child<QAction>(form, "BR4800")->isChecked());
    QTimer closer;
    int dialogs = 0;
    connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        ++dialogs;
        dialog->close();
      }
    });
    closer.start(10);
    const QString title = form->windowTitle();
    Child<QAction>(form, "Open1")->trigger();
    Child<QAction>(form, "SaveAs1")->trigger();
    QCOMPARE(dialogs, 0);
    QCOMPARE(form->windowTitle(), title);
    QVERIFY(messages.Messages().isEmpty());
  }

  // The line hangs up (an adapter pulled out) and a new one appears behind
  // the same name: the window closes the port, says so in the status bar,
  // reopens the port by itself, polls at once and the lamp turns green.
  void aPortThatGoesAwayIsReopenedWhenItComesBack() {
    TestProgramFolder folder;
    MessageLog messages;
    auto com1 = std::make_unique<PtyLine>(folder, QStringLiteral("Com1"));
    auto form = StartForm(folder);
    form->show();
    uint8_t poll[kFrameSize];
    BuildPollFrame(poll, 1, kProtocolPelcoP);
    uint8_t reply[kFrameSize];
    BuildReplyFrame(reply, 1, kReplyPoll, 0, 0, 0);
    QCOMPARE(com1->Receive(kFrameSize, 2000), Frame(poll));
    com1->Send(Frame(reply));
    auto* lamp = Child<TShape>(form, "LightShape");
    QTRY_COMPARE_WITH_TIMEOUT(lamp->BrushColor(), QColor(0, 255, 0), 2000);
    Child<QLineEdit>(form, "IdEdit")->setText(QStringLiteral("GATE 3"));

    auto* away = Child<QLabel>(form, "PortAwayLabel");
    QVERIFY(away->isHidden());
    QVERIFY(QFile::remove(folder.FilePath(QStringLiteral("Com1"))));
    com1.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!away->isHidden() && !form->Comm1->Enabled(), 2000);
    QCOMPARE(away->text(), QStringLiteral("Adapter unplugged"));
    QVERIFY(form->AwaitingPort() && form->Link().LineGone());
    // The watchdog gives the silent line up as any other.
    for (int tick = 0; tick < 5; ++tick) form->ExistTimerTimer();
    QCOMPARE(lamp->BrushColor(), QColor(255, 0, 0));

    com1 = std::make_unique<PtyLine>(folder, QStringLiteral("Com1"));
    QVERIFY(com1->Ok());
    // The poll goes out at once, not at the watchdog's next tick.
    QCOMPARE(com1->Receive(kFrameSize, 1500), Frame(poll));
    com1->Send(Frame(reply));
    QTRY_COMPARE_WITH_TIMEOUT(lamp->BrushColor(), QColor(0, 255, 0), 2000);
    QVERIFY(away->isHidden());
    QVERIFY(!form->AwaitingPort() && !form->Link().LineGone());
    QCOMPARE(com1->LineSpeed(), 4800);
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM1"));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text(), QStringLiteral("GATE 3"));
    QVERIFY(messages.Messages().isEmpty());
  }

  void ptzButtonsGoOutInTheCheckedProtocol() {
    StartedWindow started;
    auto& com1 = started.com1;
    auto& form = started.form;
    QCOMPARE(com1.Receive(kFrameSize, 2000).size(), int(kFrameSize));

    Child<QToolButton>(form, "UpButton")->click();
    QCOMPARE(com1.Receive(16, 1000),
             QByteArray::fromHex("A0 00 00 08 00 3F AF 38 A0 00 00 00 00 00 AF 0F"));
    Child<QToolButton>(form, "ColSpeed")->click();
    QCOMPARE(com1.Receive(8, 1000), QByteArray::fromHex("A0 00 00 07 00 58 AF 50"));
    Child<QToolButton>(form, "WBSpeed")->click();
    QCOMPARE(com1.Receive(8, 1000), QByteArray::fromHex("A0 00 00 07 00 59 AF 51"));
    Child<QAction>(form, "PelcoD")->trigger();
    Child<QToolButton>(form, "LeftButton")->click();
    QCOMPARE(com1.Receive(14, 1000),
             QByteArray::fromHex("FF 01 00 08 00 3F 48 FF 01 00 00 00 00 01"));

    // Every row of the protocol table: its menu item, its status text, its
    // frames on the line and its code in the poll that follows them.
    for (size_t code = 0; code < PtzProtocolCount(); ++code) {
      const PtzProtocolRow& row = PtzProtocolOf(PtzProtocolAt(code));
      auto* item = Child<QAction>(form, row.menuItem);
      QCOMPARE(item->text(), QString::fromLatin1(row.menuCaption));
      item->trigger();
      QVERIFY(item->isChecked());
      QCOMPARE(form->StatusText(2), QString::fromStdString(ProtocolText(uint8_t(code))));
      Child<QToolButton>(form, "SelectButton")->click();
      uint8_t buffer[kPtzFrameSize] = {};
      const PtzFrameRef frame = BuildPtzFrame(buffer, PtzProtocolAt(code), PtzCommand::Select, 1);
      QCOMPARE(com1.Receive(int(frame.length), 1000),
               QByteArray(reinterpret_cast<const char*>(frame.data), int(frame.length)));
      uint8_t poll[kFrameSize];
      BuildPollFrame(poll, 1, uint8_t(code));
      QCOMPARE(com1.Receive(kFrameSize, 2000), Frame(poll));
    }
  }

  void protocolSpeedSweepsEveryRateThenReturnsToTheMenus() {
    StartedWindow started;
    auto& com1 = started.com1;
    auto& form = started.form;
    QCOMPARE(com1.Receive(kFrameSize, 2000).size(), int(kFrameSize));
    uint8_t reply[kFrameSize];
    BuildReplyFrame(reply, 1, kReplyPoll, 0, 0, 0);
    com1.Send(Frame(reply));  // an idle link: no repeated poll during the sweep
    QTRY_COMPARE_WITH_TIMEOUT(Child<TShape>(form, "LightShape")->BrushColor(), QColor(0, 255, 0),
                              2000);

    QList<int> speeds{com1.LineSpeed()};
    QByteArray sent;
    Child<QToolButton>(form, "ProtocolSpeed")->click();
    QElapsedTimer waited;
    waited.start();
    const int sweep = int(kLineSpeedCount);
    while ((sent.size() < sweep * int(kFrameSize) ||
            form->ProtocolSpeedStep() != QamProtocol::kSweepIdle) &&
           waited.elapsed() < 3000) {
      if (speeds.last() != com1.LineSpeed()) speeds << com1.LineSpeed();
      sent += com1.Receive(1, 1);
    }
    if (speeds.last() != com1.LineSpeed()) speeds << com1.LineSpeed();
    QCOMPARE(sent, QByteArray::fromHex("CC 01 01 00 06 00 00 00 00 08").repeated(sweep));
    QList<int> expected{4800};
    for (const LineSpeed& speed : kLineSpeeds) expected << speed.bitsPerSecond;
    expected << 4800;
    QCOMPARE(speeds, expected);
    QCOMPARE(form->ProtocolSpeedStep(), QamProtocol::kSweepIdle);
  }
};

QTEST_MAIN(ControlPortTest)
#include "control_port_test.moc"
