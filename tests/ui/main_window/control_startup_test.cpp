// Start-up and shutdown of the main window: the first start, "Port.dat" in
// its variants, the window's layout and state after start-up, the line menus,
// a refused start that ends at the first PasswordTime tick, and the per-user
// folder of the package's build.
#include <sys/stat.h>

#include <QAction>
#include <QActionGroup>
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
#include <algorithm>
#include <iterator>
#include <utility>

#include "comm/comm.h"
#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "link/ptz_protocols.h"
#include "link/qam_protocol.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/password_modal.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/password_form.h"
#include "ui/main_window/control_camera_panel.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/program_files.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/control_up_down.h"
#include "ui/widgets/help_key.h"

namespace {

// COM1, 4800 baud, Pelco P: 31 bytes, no line end after the third line.
const QByteArray kDefaultPortDat = QByteArray::fromHex(
    "50 6F 72 74 26 30 0D 0A 42 61 75 64 20 52 61 74 65 26 32 0D 0A 50 72 6F 74 6F 63 6F 6C 26 30");

// Every control of the window at its client position (size where designed).
struct Placed {
  const char* name;
  int x, y, width, height;  // 0: not fixed by the design
};
const Placed kPlaces[] = {
    {"ColSpeed", 520, 8, 33, 33},       {"WBSpeed", 552, 8, 33, 33},
    {"OSDOnSpeed", 584, 8, 33, 33},     {"ProtocolSpeed", 616, 8, 33, 33},
    {"AddreLabel", 536, 48, 0, 0},      {"HundredAdd", 520, 72, 41, 0},
    {"TenAdd", 560, 72, 41, 0},         {"UnitAdd", 600, 72, 41, 0},
    {"ReadButton", 520, 128, 121, 25},  {"WriteButton", 520, 168, 121, 25},
    {"UpButton", 568, 240, 33, 33},     {"LeftButton", 528, 280, 31, 33},
    {"SelectButton", 568, 280, 33, 35}, {"RightButton", 608, 280, 33, 33},
    {"DownButton", 568, 320, 33, 33},   {"Panel1", 0, 0, 513, 385},
    {"LightShape", 480, 8, 25, 25},     {"KeyboardSpeed", 472, 280, 0, 0},
    {"DNModeLabel", 16, 40, 0, 0},      {"DNModeSel", 144, 40, 81, 0},
    {"DNLevelLabel", 16, 80, 0, 0},     {"DNLevelSel", 144, 80, 81, 0},
    {"DNFilLabel", 16, 120, 0, 0},      {"DNFilSel", 144, 120, 81, 0},
    {"ShutterLabel", 16, 160, 0, 0},    {"ShutterSel", 144, 160, 81, 0},
    {"ShutterIris", 144, 160, 81, 0},   {"GainLablel", 16, 200, 0, 0},
    {"GainSel", 144, 200, 81, 0},       {"SyncLabel", 16, 240, 0, 0},
    {"SyncSel", 144, 240, 81, 0},       {"SyncDC", 144, 240, 81, 0},
    {"GammaLabel", 16, 280, 0, 0},      {"GammaSel", 144, 280, 81, 0},
    {"BlcLabel", 16, 320, 0, 0},        {"BlcSel", 144, 320, 81, 0},
    {"WhiteBalLabel", 256, 40, 0, 0},   {"WhiteBalSel", 384, 40, 81, 0},
    {"RedLabel", 280, 80, 0, 0},        {"RedNumEdit", 304, 80, 0, 0},
    {"RedUpDown", 336, 80, 0, 0},       {"BlueLabel", 384, 80, 0, 0},
    {"BlueNumEdit", 408, 80, 0, 0},     {"BlueUpDown", 448, 80, 0, 0},
    {"SharpnessLabel", 248, 200, 0, 0}, {"SharpnessSel", 384, 200, 81, 0},
    {"PredtmspLabel", 248, 240, 0, 0},  {"PredtmspSel", 384, 240, 81, 0},
    {"IdLabel", 248, 280, 0, 0},        {"IdEdit", 280, 280, 185, 0},
    {"IdPosLabel", 248, 320, 0, 0},     {"IDPosSel", 392, 320, 81, 0},
};

// The hint of each panel control, letter for letter; empty: none.
const std::pair<const char*, const char*> kHints[] = {
    {"DNModeSel", "Set up a day/night function automataically,manually or B.C.G."},
    {"DNLevelSel", "Set up a switchover point from B/W mode to COLOR mode."},
    {"DNFilSel", "Set up a filter of CCD output in B/W."},
    {"ShutterSel", "Exposure time settng in AES."},
    {"ShutterIris", "Exposure time settng in AES."},
    {"GainSel", "GAIN=AGC gain setting"},
    {"SyncSel", "Function only works on AC(power of camera) models."},
    {"SyncDC", "Function only works on AC(power of camera) models."},
    {"BlcSel", "Set Backlight compensation window was located somewhere on screen."},
    {"SharpnessSel", "Set Sarpness state."},
    {"WhiteBalSel", "Set Color temperature range."},
    {"IdEdit", "Keyin rang:  '0~9  'A~Z  '<'  '>'  '-'  '.'  ','  ';'  '*'  '/'  'SPACE'."},
    {"IDPosSel", "Show the Cmaera ID in monitor screen."},
    {"RedNumEdit", "Adjust R Gain (Red) until the desired white balance is reached."},
    {"BlueNumEdit", "Adjust b Gain (Blue) until the desired white balance is reached."},
    {"GammaSel", ""},
    {"PredtmspSel", ""},
};

// The menu bar: each top item's caption, then its entries; '*' before an
// entry marks one of a choice (checkable, one mark per menu).
const QStringList kMenus[] = {
    {"&File", "&Open...", "Save &As..."},
    {"Port", "*COM1", "*COM2", "", "Adapters..."},
    [] {
      QStringList menu{"Baud rate"};
      for (const LineSpeed& speed : kLineSpeeds) menu << "*" + QString::number(speed.bitsPerSecond);
      return menu;
    }(),
    [] {
      QStringList menu{"Protocol"};
      for (size_t code = 0; code < PtzProtocolCount(); ++code)
        menu << "*" + QString::fromLatin1(PtzProtocolOf(PtzProtocolAt(code)).menuCaption);
      return menu;
    }(),
    {"Tools", "Get Protocol State", "Image Delay Time", "Chang Password", "", "Find Cameras...",
     "Write to Several Cameras...", "Line Monitor", "", "Back Up Line...", "Restore Line...",
     "Compare with Camera..."},
    {"Help", "Contens", "About"},
};

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
    QVERIFY(Child<QAction>(form, "SerialCOM1")->isChecked() &&
            !Child<QAction>(form, "SerialCOM2")->isChecked());
    QVERIFY(Child<QAction>(form, "BR4800")->isChecked() &&
            !Child<QAction>(form, "BR1200")->isChecked() &&
            !Child<QAction>(form, "BR2400")->isChecked() &&
            !Child<QAction>(form, "BR9600")->isChecked());
    QVERIFY(Child<QAction>(form, "PelcoP")->isChecked() &&
            !Child<QAction>(form, "PelcoD")->isChecked() &&
            !Child<QAction>(form, "ERNITEC")->isChecked());
    QCOMPARE(Child<QComboBox>(form, "HundredAdd")->currentText(), QStringLiteral("0"));
    QCOMPARE(Child<QComboBox>(form, "TenAdd")->currentText(), QStringLiteral("0"));
    QCOMPARE(Child<QComboBox>(form, "UnitAdd")->currentText(), QStringLiteral("1"));
    QCOMPARE(CameraAddress, uint8_t{1});
    QCOMPARE(Child<TShape>(form, "LightShape")->BrushColor(), QColor(255, 0, 0));
    QCOMPARE(form->windowTitle(), QStringLiteral(" - Untitled.TXT"));
    QVERIFY(!Child<QPushButton>(form, "ReadButton")->isEnabled() &&
            !Child<QPushButton>(form, "WriteButton")->isEnabled());
    QVERIFY(form->Comm1->Enabled());
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com1"));
    QVERIFY(messages.Messages().isEmpty());
    // The first poll went out and the watchdog runs.
    QVERIFY(Child<QTimer>(form, "ExistTimer")->isActive());
    QCOMPARE(form->ProtocolSpeedStep(), QamProtocol::kSweepIdle);
    QVERIFY(Child<QTimer>(form, "PasswordTime")->isActive());
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
        << "Port&1\r\nBaud Rate&0\r\nProtocol&" + QByteArray::number(qulonglong(PtzProtocolCount()))
        << true << "Com Port : COM1"
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
    const int checkedPorts = int(Child<QAction>(form, "SerialCOM1")->isChecked()) +
                             int(Child<QAction>(form, "SerialCOM2")->isChecked());
    QCOMPARE(checkedPorts, 1);
    QVERIFY(messages.Messages().isEmpty());
  }

  void layoutAsDesigned() {
    StartedWindow started;
    auto& form = started.form;

    QCOMPARE(Child<QWidget>(form, "Client")->size(), QSize(655, 401));
    QCOMPARE(form->size().width(), 655);
    QCOMPARE(form->size().height(), 401 + form->menuBar()->sizeHint().height());
    QCOMPARE(Child<QFrame>(form, "Panel1")->geometry(), QRect(0, 0, 513, 385));
    QCOMPARE(Child<QPushButton>(form, "ReadButton")->geometry(), QRect(520, 128, 121, 25));
    QCOMPARE(Child<QPushButton>(form, "WriteButton")->geometry(), QRect(520, 168, 121, 25));
    QCOMPARE(Child<QToolButton>(form, "SelectButton")->geometry(), QRect(568, 280, 33, 35));
    QCOMPARE(Child<QToolButton>(form, "LeftButton")->geometry(), QRect(528, 280, 31, 33));
    QCOMPARE(Child<QComboBox>(form, "HundredAdd")->geometry().topLeft(), QPoint(520, 72));
    QCOMPARE(Child<QComboBox>(form, "UnitAdd")->width(), 41);
    QCOMPARE(Child<TShape>(form, "LightShape")->geometry(), QRect(480, 8, 25, 25));
    QCOMPARE(Child<QStatusBar>(form, "StatusBar")->geometry(), QRect(0, 382, 655, 19));
    QCOMPARE(Child<QComboBox>(form, "ShutterIris")->pos(),
             Child<QComboBox>(form, "ShutterSel")->pos());
    QCOMPARE(Child<QComboBox>(form, "SyncDC")->pos(), Child<QComboBox>(form, "SyncSel")->pos());
    QCOMPARE(Child<QComboBox>(form, "IDPosSel")->pos(), QPoint(392, 320));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->geometry().topLeft(), QPoint(280, 280));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->width(), 185);
    QVERIFY(!Child<QLabel>(form, "BlueLable")->pixmap().isNull());
    QCOMPARE(Child<QLabel>(form, "BlueLable")->pixmap().size(), QSize(513, 385));
    for (QToolButton* glyph :
         {Child<QToolButton>(form, "UpButton"), Child<QToolButton>(form, "DownButton"),
          Child<QToolButton>(form, "LeftButton"), Child<QToolButton>(form, "RightButton"),
          Child<QToolButton>(form, "SelectButton"), Child<QToolButton>(form, "ColSpeed"),
          Child<QToolButton>(form, "WBSpeed"), Child<QToolButton>(form, "OSDOnSpeed"),
          Child<QToolButton>(form, "ProtocolSpeed"), Child<QToolButton>(form, "KeyboardSpeed")}) {
      QVERIFY2(!glyph->icon().isNull(), qPrintable(glyph->objectName()));
    }

    // Help topics on controls and menu items.
    const auto context = [](const QObject* object) {
      return object->property(kHelpContextProperty).toInt();
    };
    QCOMPARE(context(Child<QAction>(form, "Open1")), 11);
    QCOMPARE(context(Child<QAction>(form, "SaveAs1")), 12);
    QCOMPARE(context(Child<QAction>(form, "SerialCOM2")), 16);
    QCOMPARE(context(Child<QAction>(form, "BR9600")), 29);
    QCOMPARE(context(Child<QAction>(form, "ERNITEC")), 21);
    QCOMPARE(context(Child<QAction>(form, "GetRS422SETS1")), 26);
    QCOMPARE(context(Child<QAction>(form, "ImageTime")), 27);
    QCOMPARE(context(Child<QAction>(form, "ChangPassword")), 28);
    QCOMPARE(context(Child<QToolButton>(form, "ColSpeed")), 36);
    QCOMPARE(context(Child<QToolButton>(form, "ProtocolSpeed")), 39);
    QCOMPARE(context(Child<QToolButton>(form, "KeyboardSpeed")), 40);
    QCOMPARE(context(Child<QToolButton>(form, "UpButton")), 41);
    QCOMPARE(context(Child<QToolButton>(form, "SelectButton")), 45);
    QCOMPARE(context(Child<QPushButton>(form, "ReadButton")), 46);
    QCOMPARE(context(Child<QPushButton>(form, "WriteButton")), 47);
    QCOMPARE(context(Child<QComboBox>(form, "DNModeSel")), 56);
    QCOMPARE(context(Child<QComboBox>(form, "ShutterIris")), 59);
    QCOMPARE(context(Child<QComboBox>(form, "SyncDC")), 61);
    QCOMPARE(context(Child<QComboBox>(form, "GammaSel")), 62);
    QCOMPARE(context(Child<QComboBox>(form, "PredtmspSel")), 66);
    QCOMPARE(context(Child<QLineEdit>(form, "IdEdit")), 67);
    QCOMPARE(context(Child<QComboBox>(form, "IDPosSel")), 68);
    QCOMPARE(context(Child<TUpDown>(form, "RedUpDown")), 68);
    QCOMPARE(context(Child<QComboBox>(form, "TenAdd")), 81);

    // Captions, defaults and hints of the panel.
    QCOMPARE(Child<QLabel>(form, "GainLablel")->text(), QStringLiteral("GAIN"));
    QCOMPARE(Child<QLabel>(form, "SharpnessLabel")->text(), QStringLiteral("APERTURE"));
    QCOMPARE(Child<QComboBox>(form, "BlcSel")->itemText(3), QStringLiteral("BLC3 "));
    QCOMPARE(Child<QComboBox>(form, "WhiteBalSel")->itemText(1), QStringLiteral("ATW2 "));
    QCOMPARE(Child<QComboBox>(form, "DNLevelSel")->currentText(), QStringLiteral("HIGH"));
    QCOMPARE(Child<QComboBox>(form, "SharpnessSel")->currentText(), QStringLiteral("HIGH"));
    QCOMPARE(Child<QComboBox>(form, "GammaSel")->currentText(), QStringLiteral("0.45"));
    QVERIFY(Child<QComboBox>(form, "ShutterIris")->isHidden() &&
            Child<QComboBox>(form, "SyncDC")->isHidden());
    QVERIFY(!Child<QComboBox>(form, "ShutterSel")->isHidden() &&
            !Child<QComboBox>(form, "SyncSel")->isHidden());
    QVERIFY(Child<TUpDown>(form, "RedUpDown")->isHidden() &&
            Child<QLineEdit>(form, "BlueNumEdit")->isHidden());
    QCOMPARE(Child<TUpDown>(form, "RedUpDown")->Position(), 15);
    QCOMPARE(Child<QLineEdit>(form, "RedNumEdit")->text(), QStringLiteral("15"));
    QVERIFY(!Child<QLineEdit>(form, "RedNumEdit")->isEnabled());
    QVERIFY(Child<QComboBox>(form, "GammaSel")->toolTip().isEmpty());
    QVERIFY(Child<QComboBox>(form, "PredtmspSel")->toolTip().isEmpty());
    QCOMPARE(Child<QComboBox>(form, "ShutterIris")->toolTip(),
             QStringLiteral("Exposure time settng in AES."));
    QCOMPARE(Child<QLineEdit>(form, "BlueNumEdit")->toolTip(),
             QStringLiteral("Adjust b Gain (Blue) until the desired white balance is reached."));
    for (QComboBox* list :
         {Child<QComboBox>(form, "DNModeSel"), Child<QComboBox>(form, "DNLevelSel"),
          Child<QComboBox>(form, "DNFilSel"), Child<QComboBox>(form, "ShutterSel"),
          Child<QComboBox>(form, "GainSel"), Child<QComboBox>(form, "SyncSel"),
          Child<QComboBox>(form, "SyncDC"), Child<QComboBox>(form, "BlcSel"),
          Child<QComboBox>(form, "SharpnessSel"), Child<QComboBox>(form, "WhiteBalSel"),
          Child<QComboBox>(form, "IDPosSel")}) {
      QVERIFY2(!list->toolTip().isEmpty(), qPrintable(list->objectName()));
    }
    // Every list control has its widget with its entries and hint, and every
    // item caption stands on a label of the panel.
    for (int c = 0; c <= int(PanelControl::IdEdit); ++c) {
      const auto control = static_cast<PanelControl>(c);
      const std::vector<std::string>& entries = ListEntries(control);
      if (entries.empty()) continue;
      const QComboBox* list = static_cast<ControlCameraPanel&>(form->Panel()).ListOf(control);
      QVERIFY2(list, qPrintable(QString::number(c)));
      QCOMPARE(list->count(), int(entries.size()));
      for (size_t i = 0; i < entries.size(); ++i) {
        QCOMPARE(list->itemText(int(i)), QString::fromStdString(entries[i]));
      }
      if (list->window() == form.get()) {
        QCOMPARE(list->toolTip(), QString::fromLatin1(ItemOfControl(control)->hint));
      }
    }
    QStringList captions;
    for (const QLabel* label : Child<QFrame>(form, "Panel1")->findChildren<QLabel*>())
      captions << label->text();
    for (const CameraItem& item : CameraItems()) {
      if (*item.label) QVERIFY2(captions.contains(QString::fromLatin1(item.label)), item.label);
    }
  }

  void everyControlHintAndMenuAsDesigned() {
    StartedWindow started;
    auto& form = started.form;

    for (const Placed& placed : kPlaces) {
      const auto* widget = form->findChild<QWidget*>(QString::fromLatin1(placed.name));
      QVERIFY2(widget != nullptr, placed.name);
      QCOMPARE(widget->pos(), QPoint(placed.x, placed.y));
      if (placed.width) QCOMPARE(widget->width(), placed.width);
      if (placed.height) QCOMPARE(widget->height(), placed.height);
    }
    for (const auto& [name, hint] : kHints) {
      const auto* widget = form->findChild<QWidget*>(QString::fromLatin1(name));
      QVERIFY2(widget != nullptr, name);
      QCOMPARE(widget->toolTip(), QString::fromLatin1(hint));
    }

    const QList<QAction*> tops = form->menuBar()->actions();
    QCOMPARE(tops.size(), int(std::size(kMenus)));
    for (int m = 0; m < tops.size(); ++m) {
      QStringList shown{tops[m]->text()};
      const QList<QAction*> entries = tops[m]->menu()->actions();
      for (const QAction* entry : entries) {
        const bool choice =
            entry->isCheckable() && entry->actionGroup() && entry->actionGroup()->isExclusive();
        QVERIFY2(choice || !entry->isCheckable(), qPrintable(entry->text()));
        shown << (choice ? "*" : "") + entry->text();
        QVERIFY(entry->isEnabled());
      }
      QCOMPARE(shown, kMenus[m]);
      // A choice shows one mark, never an empty box beside every other entry.
      if (entries.first()->isCheckable()) {
        const auto marked = std::count_if(entries.begin(), entries.end(),
                                          [](const QAction* a) { return a->isChecked(); });
        QCOMPARE(marked, 1);
      }
    }
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  }

  void everySpeedHasABaudRateItem() {
    StartedWindow started;
    auto& messages = started.messages;
    auto& form = started.form;
    const QList<QAction*> items = Child<QMenu>(form, "ADDRESSSET1")->actions();
    QCOMPARE(items.size(), int(kLineSpeedCount));
    for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
      const QString rate = QString::number(kLineSpeeds[code].bitsPerSecond);
      QAction* item = items[code];
      QCOMPARE(item->objectName(), QStringLiteral("BR") + rate);
      QCOMPARE(item->text(), rate);
      QVERIFY(item->isCheckable());
      QCOMPARE(item->data().toInt(), int(code));
      QVERIFY(BaudRateOfSpeed(kLineSpeeds[code].bitsPerSecond).has_value());
      item->trigger();
      QCOMPARE(BaudRateBitsPerSecond(form->Comm1->BaudRate()), kLineSpeeds[code].bitsPerSecond);
      QCOMPARE(form->StatusText(1), QString::fromStdString(BaudRateText(code)));
      QCOMPARE(std::count_if(items.begin(), items.end(),
                             [](const QAction* a) { return a->isChecked(); }),
               1);
      QVERIFY(item->isChecked());
    }
    QVERIFY(messages.Messages().isEmpty());
  }

  void lineMenusAndBusyRule() {
    StartedWindow started;
    auto& folder = started.folder;
    auto& messages = started.messages;
    auto& form = started.form;

    Child<QAction>(form, "BR9600")->trigger();
    QVERIFY(Child<QAction>(form, "BR9600")->isChecked() &&
            !Child<QAction>(form, "BR4800")->isChecked());
    QCOMPARE(form->Comm1->BaudRate(), br9600);
    QCOMPARE(form->StatusText(1), QStringLiteral("Baud Rate : 9600"));
    // The checked item again: stays checked, nothing changes.
    Child<QAction>(form, "BR9600")->trigger();
    QVERIFY(Child<QAction>(form, "BR9600")->isChecked());
    QCOMPARE(form->Comm1->BaudRate(), br9600);

    Child<QAction>(form, "ERNITEC")->trigger();
    QVERIFY(Child<QAction>(form, "ERNITEC")->isChecked() &&
            !Child<QAction>(form, "PelcoP")->isChecked());
    QCOMPARE(form->StatusText(2), QStringLiteral("Protocol Type : ERNITEC"));
    Child<QAction>(form, "ERNITEC")->trigger();
    QVERIFY(Child<QAction>(form, "ERNITEC")->isChecked());

    // A running transfer locks every line command.
    LinkState.ReadBusy = 1;
    Child<QAction>(form, "BR1200")->trigger();
    Child<QAction>(form, "PelcoD")->trigger();
    Child<QAction>(form, "SerialCOM2")->trigger();
    LinkState.ReadBusy = 0;
    QVERIFY(Child<QAction>(form, "BR9600")->isChecked() &&
            !Child<QAction>(form, "BR1200")->isChecked());
    QCOMPARE(form->Comm1->BaudRate(), br9600);
    QVERIFY(Child<QAction>(form, "ERNITEC")->isChecked() &&
            !Child<QAction>(form, "PelcoD")->isChecked());
    QVERIFY(Child<QAction>(form, "SerialCOM1")->isChecked() &&
            !Child<QAction>(form, "SerialCOM2")->isChecked());
    QCOMPARE(form->Comm1->DeviceName(), std::string("Com1"));
    QVERIFY(messages.Messages().isEmpty());

    // No menu command writes the file; closing does, with the selection of that moment.
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")), kDefaultPortDat);
    form->close();
    QCOMPARE(folder.Read(QStringLiteral("Port.dat")),
             QByteArray("Port&0\r\nBaud Rate&3\r\nProtocol&2"));
  }

  // A link or a FIFO planted in the folder: the start neither blocks nor
  // writes through the link; the failed "Port.dat" is said once.
  void plantedFilesAreNeitherFollowedNorWaitedFor() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("victim"));
    QFile(victim).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(victim, folder.FilePath(QStringLiteral("Port.dat"))));
    QCOMPARE(
        mkfifo(QFile::encodeName(folder.FilePath(QStringLiteral("data.dat"))).constData(), 0600),
        0);
    auto form = std::make_unique<TForm1>(folder.Path());
    QCOMPARE(form->StatusText(1), QStringLiteral("Baud Rate : 4800"));
    QCOMPARE(messages.Texts(),
             (QStringList{QStringLiteral("There is someone file error."),
                          QStringLiteral("Can not save the file \"%1\".\nNot a regular file: a "
                                         "symbolic link")
                              .arg(folder.FilePath(QStringLiteral("Port.dat")))}));
    form->close();
    QCOMPARE(messages.Texts().size(), 2);
    QCOMPARE(QFileInfo(victim).size(), 0);
    QVERIFY(QFileInfo(folder.FilePath(QStringLiteral("Port.dat"))).isSymLink());
  }

  void addressIsNotRemembered() {
    TestProgramFolder folder;
    MessageLog messages;
    PtyLine com1(folder, QStringLiteral("Com1"));
    {
      auto form = StartForm(folder);
      Choose(Child<QComboBox>(form, "HundredAdd"), 1);
      Choose(Child<QComboBox>(form, "UnitAdd"), 7);
      QCOMPARE(CameraAddress, uint8_t{107});
      form->close();
    }
    auto form = StartForm(folder);
    QCOMPARE(Child<QComboBox>(form, "HundredAdd")->currentIndex(), 0);
    QCOMPARE(Child<QComboBox>(form, "TenAdd")->currentIndex(), 0);
    QCOMPARE(Child<QComboBox>(form, "UnitAdd")->currentIndex(), 1);
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
    StartedWindow started;
    auto& folder = started.folder;
    auto& form = started.form;
    QVERIFY(!form->CloseRequested);
    form->show();
    QTRY_VERIFY_WITH_TIMEOUT(!Child<QTimer>(form, "PasswordTime")->isActive(), 2000);
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
    // Made again as others may write in it: made private before it is used.
    QVERIFY(chmod(QFile::encodeName(folder).constData(), 0777) == 0);
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
