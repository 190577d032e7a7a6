// Start-up and shutdown of the main window: the first start, "Port.dat" in
// its variants, the window's layout and state after start-up, the line menus,
// a refused start that ends at the first PasswordTime tick, and the per-user
// folder of the package's build.
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "comm/comm.h"
#include "link/camera_link_state.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/password_modal.h"
#include "ui/control_form.h"
#include "ui/control_shape.h"
#include "ui/control_up_down.h"
#include "ui/password_form.h"
#include "ui/program_files.h"

namespace {

// COM1, 4800 baud, Pelco P: 31 bytes, no line end after the third line.
const QByteArray kDefaultPortDat = QByteArray::fromHex(
    "50 6F 72 74 26 30 0D 0A 42 61 75 64 20 52 61 74 65 26 32 0D 0A 50 72 6F 74 6F 63 6F 6C 26 30");

}  // namespace

class ControlStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void firstStartSelectsDefaultsAndWritesPortDat() {
    TestProgramFolder folder;
    MessageLog messages;
    // Ports present, so the only messages would be the window's own.
    PtyLine com1(folder, QStringLiteral("Com1"));
    PtyLine com2(folder, QStringLiteral("Com2"));
    QVERIFY(com1.Ok() && com2.Ok());
    auto form = StartForm(folder);

    QCOMPARE(kDefaultPortDat.size(), 31);
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")), kDefaultPortDat);
    QCOMPARE(form->StatusText(0), QStringLiteral("Com Port : COM1"));
    QCOMPARE(form->StatusText(1), QStringLiteral("Baud Rate : 4800"));
    QCOMPARE(form->StatusText(2), QStringLiteral("Protocol Type : PELCO P"));
    QVERIFY(form->SerialCOM1->isChecked() && !form->SerialCOM2->isChecked());
    QVERIFY(form->BR4800->isChecked() && !form->BR1200->isChecked() && !form->BR2400->isChecked() &&
            !form->BR9600->isChecked());
    QVERIFY(form->PelcoP->isChecked() && !form->PelcoD->isChecked() && !form->ERNITEC->isChecked());
    QCOMPARE(form->HundredAdd->currentText(), QStringLiteral("0"));
    QCOMPARE(form->TenAdd->currentText(), QStringLiteral("0"));
    QCOMPARE(form->UnitAdd->currentText(), QStringLiteral("1"));
    QCOMPARE(CameraAddress, uint8_t{1});
    QCOMPARE(form->LightShape->BrushColor(), QColor(255, 0, 0));
    QCOMPARE(form->windowTitle(), QStringLiteral(" - Untitled.TXT"));
    QVERIFY(!form->ReadButton->isEnabled() && !form->WriteButton->isEnabled());
    QVERIFY(form->Comm1->Enabled());
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com1"));
    QVERIFY(messages.Messages().isEmpty());
    // The first poll went out and the watchdog runs.
    QVERIFY(form->ExistTimer->isActive());
    QCOMPARE(form->ProtocolSpeedStep(), uint8_t{4});
    QVERIFY(form->PasswordTime->isActive());
  }

  void portDatVariants_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("defaults");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("protocol");
    QTest::newRow("COM2 9600 ERNITEC")
        << QByteArray("Port&1\r\nBaud Rate&3\r\nProtocol&2") << false << "Com Port : COM2"
        << "Baud Rate : 9600"
        << "Protocol Type : ERNITEC";
    QTest::newRow("keys are not looked at")
        << QByteArray("Alpha&1\r\nBeta&0\r\nGamma&1") << false << "Com Port : COM2"
        << "Baud Rate : 1200"
        << "Protocol Type : PELCO D";
    QTest::newRow("LF line ends") << QByteArray("Port&0\nBaud Rate&1\nProtocol&1\n") << false
                                  << "Com Port : COM1"
                                  << "Baud Rate : 2400"
                                  << "Protocol Type : PELCO D";
    QTest::newRow("baud code too large")
        << QByteArray("Port&1\r\nBaud Rate&7\r\nProtocol&0") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("port code too large")
        << QByteArray("Port&2\r\nBaud Rate&0\r\nProtocol&0") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("protocol code too large")
        << QByteArray("Port&1\r\nBaud Rate&0\r\nProtocol&3") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("negative code")
        << QByteArray("Port&-1\r\nBaud Rate&0\r\nProtocol&0") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("not a whole number")
        << QByteArray("Port&1\r\nBaud Rate&1.5\r\nProtocol&0") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("text after the code")
        << QByteArray("Port&1x\r\nBaud Rate&1\r\nProtocol&0") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("huge code") << QByteArray("Port&0\r\nBaud Rate&99999999999\r\nProtocol&0")
                               << true << "Com Port : COM1"
                               << "Baud Rate : 4800"
                               << "Protocol Type : PELCO P";
    QTest::newRow("line without &")
        << QByteArray("Port&1\r\nBaud Rate 1\r\nProtocol&0") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("two lines only")
        << QByteArray("Port&1\r\nBaud Rate&1") << true << "Com Port : COM1"
        << "Baud Rate : 4800"
        << "Protocol Type : PELCO P";
    QTest::newRow("empty file") << QByteArray() << true << "Com Port : COM1"
                                << "Baud Rate : 4800"
                                << "Protocol Type : PELCO P";
  }

  void portDatVariants() {
    QFETCH(QByteArray, content);
    QFETCH(bool, defaults);
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(QString, protocol);
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    PtyLine com2(folder, QStringLiteral("Com2"));
    folder.Write(QStringLiteral("Port.dat"), content);
    auto form = StartForm(folder);

    QCOMPARE(form->StatusText(0), port);
    QCOMPARE(form->StatusText(1), baud);
    QCOMPARE(form->StatusText(2), protocol);
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")), defaults ? kDefaultPortDat : content);
    const int checkedPorts =
        int(form->SerialCOM1->isChecked()) + int(form->SerialCOM2->isChecked());
    QCOMPARE(checkedPorts, 1);
    QVERIFY(messages.Messages().isEmpty());
  }

  void layoutAsDesigned() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    auto form = StartForm(folder);

    QCOMPARE(form->Client->size(), QSize(655, 401));
    QCOMPARE(form->size().width(), 655);
    QCOMPARE(form->size().height(), 401 + form->menuBar()->sizeHint().height());
    QCOMPARE(form->Panel1->geometry(), QRect(0, 0, 513, 385));
    QCOMPARE(form->ReadButton->geometry(), QRect(520, 128, 121, 25));
    QCOMPARE(form->WriteButton->geometry(), QRect(520, 168, 121, 25));
    QCOMPARE(form->SelectButton->geometry(), QRect(568, 280, 33, 35));
    QCOMPARE(form->LeftButton->geometry(), QRect(528, 280, 31, 33));
    QCOMPARE(form->HundredAdd->geometry().topLeft(), QPoint(520, 72));
    QCOMPARE(form->UnitAdd->width(), 41);
    QCOMPARE(form->LightShape->geometry(), QRect(480, 8, 25, 25));
    QCOMPARE(form->StatusBar->geometry(), QRect(0, 382, 655, 19));
    QCOMPARE(form->ShutterIris->pos(), form->ShutterSel->pos());
    QCOMPARE(form->SyncDC->pos(), form->SyncSel->pos());
    QCOMPARE(form->IDPosSel->pos(), QPoint(392, 320));
    QCOMPARE(form->IdEdit->geometry().topLeft(), QPoint(280, 280));
    QCOMPARE(form->IdEdit->width(), 185);
    QVERIFY(!form->BlueLable->pixmap().isNull());
    QCOMPARE(form->BlueLable->pixmap().size(), QSize(513, 385));
    for (QToolButton* glyph : {form->UpButton, form->DownButton, form->LeftButton,
                               form->RightButton, form->SelectButton, form->ColSpeed, form->WBSpeed,
                               form->OSDOnSpeed, form->ProtocolSpeed, form->KeyboardSpeed}) {
      QVERIFY2(!glyph->icon().isNull(), qPrintable(glyph->objectName()));
    }

    // Help topics on controls and menu items.
    const auto context = [](const QObject* object) {
      return object->property("helpContext").toInt();
    };
    QCOMPARE(context(form->Open1), 11);
    QCOMPARE(context(form->SaveAs1), 12);
    QCOMPARE(context(form->SerialCOM2), 16);
    QCOMPARE(context(form->BR9600), 29);
    QCOMPARE(context(form->ERNITEC), 21);
    QCOMPARE(context(form->GetRS422SETS1), 26);
    QCOMPARE(context(form->ImageTime), 27);
    QCOMPARE(context(form->ChangPassword), 28);
    QCOMPARE(context(form->ColSpeed), 36);
    QCOMPARE(context(form->ProtocolSpeed), 39);
    QCOMPARE(context(form->KeyboardSpeed), 40);
    QCOMPARE(context(form->UpButton), 41);
    QCOMPARE(context(form->SelectButton), 45);
    QCOMPARE(context(form->ReadButton), 46);
    QCOMPARE(context(form->WriteButton), 47);
    QCOMPARE(context(form->DNModeSel), 56);
    QCOMPARE(context(form->ShutterIris), 59);
    QCOMPARE(context(form->SyncDC), 61);
    QCOMPARE(context(form->GammaSel), 62);
    QCOMPARE(context(form->PredtmspSel), 66);
    QCOMPARE(context(form->IdEdit), 67);
    QCOMPARE(context(form->IDPosSel), 68);
    QCOMPARE(context(form->RedUpDown), 68);
    QCOMPARE(context(form->TenAdd), 81);

    // Captions, defaults and hints of the panel.
    QCOMPARE(form->GainLablel->text(), QStringLiteral("GAIN"));
    QCOMPARE(form->SharpnessLabel->text(), QStringLiteral("APERTURE"));
    QCOMPARE(form->BlcSel->itemText(3), QStringLiteral("BLC3 "));
    QCOMPARE(form->WhiteBalSel->itemText(1), QStringLiteral("ATW2 "));
    QCOMPARE(form->DNLevelSel->currentText(), QStringLiteral("HIGH"));
    QCOMPARE(form->SharpnessSel->currentText(), QStringLiteral("HIGH"));
    QCOMPARE(form->GammaSel->currentText(), QStringLiteral("0.45"));
    QVERIFY(form->ShutterIris->isHidden() && form->SyncDC->isHidden());
    QVERIFY(!form->ShutterSel->isHidden() && !form->SyncSel->isHidden());
    QVERIFY(form->RedUpDown->isHidden() && form->BlueNumEdit->isHidden());
    QCOMPARE(form->RedUpDown->Position(), 15);
    QCOMPARE(form->RedNumEdit->text(), QStringLiteral("15"));
    QVERIFY(!form->RedNumEdit->isEnabled());
    QVERIFY(form->GammaSel->toolTip().isEmpty());
    QVERIFY(form->PredtmspSel->toolTip().isEmpty());
    QCOMPARE(form->ShutterIris->toolTip(), QStringLiteral("Exposure time settng in AES."));
    QCOMPARE(form->BlueNumEdit->toolTip(),
             QStringLiteral("Adjust b Gain (Blue) until the desired white balance is reached."));
    for (QComboBox* list : {form->DNModeSel, form->DNLevelSel, form->DNFilSel, form->ShutterSel,
                            form->GainSel, form->SyncSel, form->SyncDC, form->BlcSel,
                            form->SharpnessSel, form->WhiteBalSel, form->IDPosSel}) {
      QVERIFY2(!list->toolTip().isEmpty(), qPrintable(list->objectName()));
    }
  }

  void lineMenusAndBusyRule() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    auto form = StartForm(folder);

    form->BR9600->trigger();
    QVERIFY(form->BR9600->isChecked() && !form->BR4800->isChecked());
    QCOMPARE(form->Comm1->BaudRate(), br9600);
    QCOMPARE(form->StatusText(1), QStringLiteral("Baud Rate : 9600"));
    // The checked item again: stays checked, nothing changes.
    form->BR9600->trigger();
    QVERIFY(form->BR9600->isChecked());
    QCOMPARE(form->Comm1->BaudRate(), br9600);

    form->ERNITEC->trigger();
    QVERIFY(form->ERNITEC->isChecked() && !form->PelcoP->isChecked());
    QCOMPARE(form->StatusText(2), QStringLiteral("Protocol Type : ERNITEC"));
    form->ERNITEC->trigger();
    QVERIFY(form->ERNITEC->isChecked());

    // A running transfer locks every line command.
    LinkState.ReadBusy = 1;
    form->BR1200->trigger();
    form->PelcoD->trigger();
    form->SerialCOM2->trigger();
    LinkState.ReadBusy = 0;
    QVERIFY(form->BR9600->isChecked() && !form->BR1200->isChecked());
    QCOMPARE(form->Comm1->BaudRate(), br9600);
    QVERIFY(form->ERNITEC->isChecked() && !form->PelcoD->isChecked());
    QVERIFY(form->SerialCOM1->isChecked() && !form->SerialCOM2->isChecked());
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com1"));
    QVERIFY(messages.Messages().isEmpty());

    // No menu command writes the file; closing does, with the selection of that moment.
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")), kDefaultPortDat);
    form->close();
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")),
             QByteArray("Port&0\r\nBaud Rate&3\r\nProtocol&2"));
  }

  void addressIsNotRemembered() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    {
      auto form = StartForm(folder);
      Choose(form->HundredAdd, 1);
      Choose(form->UnitAdd, 7);
      QCOMPARE(CameraAddress, uint8_t{107});
      form->close();
    }
    auto form = StartForm(folder);
    QCOMPARE(form->HundredAdd->currentIndex(), 0);
    QCOMPARE(form->TenAdd->currentIndex(), 0);
    QCOMPARE(form->UnitAdd->currentIndex(), 1);
    QCOMPARE(CameraAddress, uint8_t{1});
  }

  void refusedStartEndsAtFirstPasswordTick() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    folder.Write(QStringLiteral("Port.dat"), "Port&0\r\nBaud Rate&1\r\nProtocol&1");
    // Neither "data.dat" nor "newdata.dat": no dialog, the file error instead.
    auto form = std::make_unique<TForm1>(folder.Path());
    form->CreateKeyBoardAndImageDelayForms();
    QCOMPARE(messages.Texts(), QStringList{QStringLiteral("There is someone file error.")});
    QCOMPARE(messages.Messages().first().caption, QStringLiteral("ERROR"));
    QCOMPARE(messages.Messages().first().icon, MessageIcon::Error);
    QVERIFY(form->CloseRequested);

    folder.Remove(QStringLiteral("Port.dat"));
    form->show();
    QSignalSpy closed(form.get(), &TForm1::Closed);
    QVERIFY(closed.wait(2000));
    QVERIFY(!form->isVisible());
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")),
             QByteArray("Port&0\r\nBaud Rate&1\r\nProtocol&1"));
  }

  void acceptedStartStopsPasswordTime() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    auto form = StartForm(folder);
    QVERIFY(!form->CloseRequested);
    form->show();
    QTRY_VERIFY_WITH_TIMEOUT(!form->PasswordTime->isActive(), 2000);
    QVERIFY(form->isVisible());
  }

  // The package's build keeps its files in ~/.config/zelta: the first start
  // in an empty home makes the folder and asks for a new password, the next
  // one asks for it, and "Com1" there is the port.
  void perUserFolderFirstAndSecondStart() {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString folder = PerUserFolderPath();
    QCOMPARE(folder, home.path() + QStringLiteral("/.config/zelta"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("cfg"))));
    QCOMPARE(PerUserFolderPath(), home.path() + QStringLiteral("/cfg/zelta"));
    qputenv("XDG_CONFIG_HOME", "relative/cfg");  // not absolute: ignored
    QCOMPARE(PerUserFolderPath(), folder);
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    if (oldConfig.isNull()) qunsetenv("XDG_CONFIG_HOME");

    QVERIFY(PreparePerUserFolder(folder));
    struct stat made {};
    QCOMPARE(stat(QFile::encodeName(folder).constData(), &made), 0);
    QCOMPARE(made.st_mode & 0777u, 0700u);
    QCOMPARE(QFileInfo(folder + QStringLiteral("/newdata.dat")).size(), 0);
    MessageLog messages;
    PtyLine com1(folder + QStringLiteral("/Com1"));
    QVERIFY(com1.Ok());
    for (const TPasswordMode expected : {pwSetNew, pwEnter}) {
      QVERIFY(PreparePerUserFolder(folder));
      TPasswordMode mode = pwChange;
      const auto answered = AnswerPasswordForm([&mode](TPasswordForm* dialog) {
        mode = dialog->PasswordMode();
        for (QLineEdit* edit :
             {dialog->EnterPasswordEdit, dialog->NewPasswordEdit, dialog->ConfirmPasswordEdit}) {
          edit->setText(QString::fromLatin1(kTestPassword));
        }
        dialog->OkButtonClick();
      });
      TForm1 form(folder);
      QCOMPARE(*answered, 1);
      QCOMPARE(mode, expected);
      QVERIFY(!form.CloseRequested);
      QVERIFY(form.Comm1->Enabled());
      QCOMPARE(form.StatusText(0), QStringLiteral("Com Port : COM1"));
      QVERIFY(QFile::exists(folder + QStringLiteral("/Port.dat")));
      QVERIFY(!QFile::exists(folder + QStringLiteral("/newdata.dat")));
    }
    QCOMPARE(messages.Texts(), QStringList());
  }
};

QTEST_MAIN(ControlStartupTest)
#include "control_startup_test.moc"
