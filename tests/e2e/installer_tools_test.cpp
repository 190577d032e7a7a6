// The installer tools end to end against a simulated line of cameras with the
// line's own timing: Find Cameras lists them and flags a shared address, Write
// to Several Cameras reports each camera and leaves the panel alone, and the
// line monitor shows a Read Camera frame by frame.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/frame_meaning.h"
#include "link/line_scan.h"
#include "settings/settings_caption.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/find_cameras_dialog.h"
#include "ui/tools/line_monitor_window.h"
#include "ui/tools/multi_write_dialog.h"

namespace {

// A whole line of cameras written and read back takes a while.
constexpr int kToolWaitMs = 150000;

QList<QStringList> Rows(const QTableWidget* table) {
  QList<QStringList> rows;
  for (int r = 0; r < table->rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < table->columnCount(); ++c) row << table->item(r, c)->text();
    rows << row;
  }
  return rows;
}

QList<int> AddressDigits(const std::unique_ptr<TForm1>& form) {
  return {Child<QComboBox>(form, "HundredAdd")->currentIndex(),
          Child<QComboBox>(form, "TenAdd")->currentIndex(),
          Child<QComboBox>(form, "UnitAdd")->currentIndex()};
}

// Runs a modal tool opened by `item` through `steps` in turn, each until it returns true.
bool RunModal(QAction* item, QList<std::function<bool(QDialog*)>> steps) {
  bool done = false;
  WhileModal(
      [&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog == nullptr || steps.isEmpty() || !steps.front()(dialog)) return false;
        steps.removeFirst();
        done = steps.isEmpty();
        return done;
      },
      kToolWaitMs);
  item->trigger();
  return done;
}

// From the first camera done on, Write to Several Cameras says how long the rest take.
bool ShowsTimeLeft(QDialog* dialog) {
  const QString progress = Child<QLabel>(dialog, "ProgressLabel")->text();
  return Child<QTableWidget>(dialog, "ResultTable")->rowCount() > 0 &&
         progress.contains(QRegularExpression(QStringLiteral(", \\d+:\\d\\d left$")));
}

// Write to Several Cameras over `addresses`, to the end of the run: its rows.
QList<QStringList> WriteToSeveral(const std::unique_ptr<TForm1>& form, const QString& addresses) {
  QList<QStringList> rows;
  RunModal(Child<QAction>(form, "MultiWrite"),
           {[&](QDialog* dialog) {
              Child<QLineEdit>(dialog, "AddressEdit")->setText(addresses);
              Child<QPushButton>(dialog, "StartButton")->click();
              return !Child<QPushButton>(dialog, "StartButton")->isEnabled();
            },
            [&](QDialog* dialog) {
              if (!Child<QPushButton>(dialog, "StartButton")->isEnabled()) return false;
              rows = Rows(Child<QTableWidget>(dialog, "ResultTable"));
              dialog->reject();
              return true;
            }});
  return rows;
}

QStringList Results(const QList<QStringList>& rows) {
  QStringList results;
  for (const QStringList& row : rows) results << row.value(0) + " " + row.value(1);
  return results;
}

// Read Camera from the button to "Finish", in milliseconds.
qint64 ReadCamera(const std::unique_ptr<TForm1>& form) {
  QElapsedTimer elapsed;
  elapsed.start();
  Child<QPushButton>(form, "ReadButton")->click();
  // A "Finish" of an earlier transfer goes with the first request.
  if (!QTest::qWaitFor([&] { return form->StatusText(3) != "Finish"; }, kLinkWaitMs)) return -1;
  return WaitForStatus(*form, "Finish", kTransferWaitMs) ? elapsed.elapsed() : -1;
}

}  // namespace

class InstallerToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void findCamerasListsTheLineAndFlagsTheSharedAddress_data() {
    QTest::addColumn<QStringList>("line");
    QTest::newRow("line timing") << QStringList{};
    // A USB adapter's latency timer holds each reply: no camera may be missed.
    QTest::newRow("adapter latency") << QStringList{"--adapter-latency", "16"};
  }

  void findCamerasListsTheLineAndFlagsTheSharedAddress() {
    QFETCH(QStringList, line);
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, QStringList{"--line-timing", "--cameras", "1-8", "--duplicate", "5"} + line);
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    Choose(Child<QComboBox>(form, "UnitAdd"), 3);
    QCOMPARE(int{CameraAddress}, 3);

    QList<QStringList> rows;
    QList<int> digitsAfter;
    const bool ran = RunModal(Child<QAction>(form, "FindCameras"),
                              {[](QDialog* dialog) {
                                 for (const char* rate : {"Rate1200", "Rate2400", "Rate9600"})
                                   Child<QCheckBox>(dialog, rate)->setChecked(false);
                                 Child<QSpinBox>(dialog, "LastAddress")->setValue(9);
                                 Child<QPushButton>(dialog, "StartButton")->click();
                                 return !Child<QPushButton>(dialog, "StartButton")->isEnabled();
                               },
                               [&](QDialog* dialog) {
                                 if (!Child<QPushButton>(dialog, "StartButton")->isEnabled())
                                   return false;
                                 rows = Rows(Child<QTableWidget>(dialog, "FoundTable"));
                                 digitsAfter = AddressDigits(form);
                                 // The camera at 6 becomes the current one.
                                 auto* table = Child<QTableWidget>(dialog, "FoundTable");
                                 table->setCurrentCell(5, 0);
                                 Child<QPushButton>(dialog, "UseButton")->click();
                                 return true;
                               }});
    QVERIFY2(ran, qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));

    QList<QStringList> expected;
    for (int address = 1; address <= 8; ++address) {
      expected << QStringList{QString::number(address), "4800",
                              address == 5 ? kDuplicateAddressRemark : ""};
    }
    QCOMPARE(rows, expected);
    QCOMPARE(digitsAfter, (QList<int>{0, 0, 3}));
    QCOMPARE(AddressDigits(form), (QList<int>{0, 0, 6}));
    QCOMPARE(int{CameraAddress}, 6);
    QVERIFY(Child<QAction>(form, "BR4800")->isChecked());
    QVERIFY(!form->Link().Paused());
    const int mark = sim.Mark();
    QVERIFY(sim.WaitForTrace(
        QString::fromStdString(DescribeFrame(
            reinterpret_cast<const uint8_t*>(PollRequest(6, kProtocolPelcoP).constData()),
            kFrameSize)),
        kTraceWaitMs, mark));
    QCOMPARE(messages.Texts(), QStringList());
  }

  // The simulator goes mid-run (its pseudo-terminal hangs up, as an unplugged
  // adapter does): the tool ends there and says where, what it did before
  // stays listed (a write's camera in hand reads "Line lost", the rest
  // "Stopped"), and the lamp goes red.
  void aToolEndsAtOnceWhenTheLineIsLost_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("framesBefore");
    QTest::addColumn<QString>("table");
    QTest::newRow("Find Cameras") << "FindCameras" << 30 << "FoundTable";
    QTest::newRow("Write to Several Cameras") << "MultiWrite" << 40 << "ResultTable";
  }

  void aToolEndsAtOnceWhenTheLineIsLost() {
    QFETCH(QString, tool);
    QFETCH(int, framesBefore);
    QFETCH(QString, table);
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {"--line-timing", "--cameras", "1-8"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    const int mark = sim.Mark();
    QString text;
    QStringList column;
    const bool ran = RunModal(
        Child<QAction>(form, tool.toLatin1()),
        {[](QDialog* dialog) {
           for (const char* rate : {"Rate1200", "Rate2400", "Rate9600"})
             if (auto* box = dialog->findChild<QCheckBox*>(rate)) box->setChecked(false);
           if (auto* list = dialog->findChild<QLineEdit*>("AddressEdit")) list->setText("1-8");
           Child<QPushButton>(dialog, "StartButton")->click();
           return true;
         },
         [&](QDialog*) { return sim.Frames("RX", mark).size() >= framesBefore && sim.Stop(); },
         [&](QDialog* dialog) {
           if (!Child<QPushButton>(dialog, "StartButton")->isEnabled()) return false;
           text = Child<QLabel>(dialog, "ProgressLabel")->text();
           for (const QStringList& row : Rows(Child<QTableWidget>(dialog, table.toLatin1())))
             column << row[tool == "MultiWrite" ? 1 : 0];
           dialog->reject();
           return true;
         }});
    QVERIFY2(ran, qPrintable(Describe(*form)));
    const QRegularExpressionMatch place =
        QRegularExpression("^The line was lost at address (\\d+), 4800 baud: ").match(text);
    QVERIFY2(place.hasMatch(), qPrintable(text));
    const int lost = place.captured(1).toInt();
    if (tool == "FindCameras") {
      QCOMPARE(text.mid(place.capturedLength()), QStringLiteral("8 found"));
      QCOMPARE(column, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    } else {
      QCOMPARE(text.mid(place.capturedLength()), QStringLiteral("%1 of 8 OK").arg(lost - 1));
      // The camera in hand says how far it got: "Line lost at GAIN; not written: ...".
      QVERIFY2(column.value(lost - 1).startsWith("Line lost"), qPrintable(column.join('|')));
      column[lost - 1] = "Line lost";
      QCOMPARE(column, QStringList(lost - 1, "OK")
                           << "Line lost" << QStringList(8 - lost, "Stopped"));
    }
    QVERIFY(WaitForLamp(*form, LampColour::Red));
    QCOMPARE(messages.Texts(), QStringList());
  }

  void writeToSeveralCamerasReportsEachCameraAndLeavesThePanel() {
    TestProgramFolder folder;
    MessageLog messages;
    // Every camera's SYNC is fixed by its power supply; 6 refuses GAIN, in
    // the middle of the order.
    CamSim sim(folder, {"--line-timing", "--cameras", "1-8", "--silent", "7", "--refuse",
                        "3:SHUTTER", "--refuse", "6:GAIN", "--dc-sync"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    Choose(Child<QComboBox>(form, "ShutterSel"), ListPosition(kItemShutter, "1/500"));
    const QString panelBefore = PanelValues(*form).Text();
    const QString report = folder.FilePath(QStringLiteral("report.csv"));
    // As Open leaves it: the report names the file whole, quoted for its comma.
    form->setWindowTitle(QString::fromStdString(FileCaption("/sites/lobby, east.TXT")));

    QList<QStringList> rows;
    QDateTime started;
    bool saved = false;
    bool defaults = false;
    const bool ran = RunModal(Child<QAction>(form, "MultiWrite"),
                              {[&](QDialog* dialog) {
                                 defaults =
                                     Child<QCheckBox>(dialog, "ReadBackCheck")->isChecked() &&
                                     !Child<QCheckBox>(dialog, "ImageDelayCheck")->isChecked();
                                 Child<QLineEdit>(dialog, "AddressEdit")->setText("1-8");
                                 started = QDateTime::currentDateTime();
                                 Child<QPushButton>(dialog, "StartButton")->click();
                                 return true;
                               },
                               ShowsTimeLeft,
                               [&](QDialog* dialog) {
                                 if (!Child<QPushButton>(dialog, "StartButton")->isEnabled())
                                   return false;
                                 rows = Rows(Child<QTableWidget>(dialog, "ResultTable"));
                                 saved = static_cast<MultiWriteDialog*>(dialog)->SaveReport(report);
                                 dialog->reject();
                                 return true;
                               }});
    QVERIFY2(ran, qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));

    QVERIFY(defaults);
    const QString ok = "OK (fixed: SYNC ---)";
    const QString rest = "GAMMA, BLC, WHITE BAL, APERTURE, PREDTMSP, ID., ID. POS, Red, Blue";
    const QStringList results = {
        ok,          ok, "Stopped at SHUTTER; not written: GAIN, SYNC, " + rest,
        ok,          ok, "Stopped at GAIN; not written: SYNC, " + rest,
        "No answer", ok};
    QCOMPARE(rows.size(), results.size());
    for (int i = 0; i < rows.size(); ++i) {
      QCOMPARE(rows[i].mid(0, 2), (QStringList{QString::number(i + 1), results[i]}));
      QVERIFY(rows[i][2].toInt() > 0);
    }
    QVERIFY(saved);
    const QStringList lines = QString::fromUtf8(folder.Read("report.csv")).split("\r\n");
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QString::fromLatin1(kMultiWriteReportHeader));
    QVERIFY(lines[9].isEmpty());
    // The run's start (the silent camera alone makes the save seconds later),
    // the port, the rate and the settings file on every row.
    for (int i = 0; i < rows.size(); ++i) {
      QStringList fields = rows[i];
      if (fields[1].contains(',')) fields[1] = '"' + fields[1] + '"';
      const QString prefix = fields.join(',') + ',';
      QVERIFY2(lines[i + 1].startsWith(prefix), qPrintable(lines[i + 1]));
      const QString rest = lines[i + 1].mid(prefix.size());
      const QDateTime written =
          QDateTime::fromString(rest.section(',', 0, 0), "yyyy-MM-dd HH:mm:ss");
      QVERIFY2(qAbs(written.secsTo(started)) <= 1, qPrintable(lines[i + 1]));
      QCOMPARE(rest.section(',', 1), QStringLiteral("Com1,4800,\"lobby, east.TXT\""));
    }
    QCOMPARE(PanelValues(*form).Text(), panelBefore);
    QCOMPARE(AddressDigits(form), (QList<int>{0, 0, 1}));
    QCOMPARE(int{CameraAddress}, 1);
    QVERIFY(!form->Link().LinkBusy());
    QCOMPARE(messages.Texts(), QStringList());
  }

  // A camera that loses its power for a few seconds in the middle of a run:
  // the run says "No answer" for it and goes on; once it is back, the lamp
  // and the next run take it as any other camera.
  void writeToSeveralCamerasGoesOnPastACameraThatRestarts() {
    TestProgramFolder folder;
    MessageLog messages;
    // Camera 2 answers five requests of the run, then is off for 4 s.
    CamSim sim(folder, {"--line-timing", "--cameras", "1-3", "--silent-after", "2:5",
                        "--silent-for", "2:4000"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));

    const QStringList first = Results(WriteToSeveral(form, "1-3"));
    QCOMPARE(first.size(), 3);
    QCOMPARE(first[0], QStringLiteral("1 OK"));
    QVERIFY2(first[1].startsWith("2 No answer"), qPrintable(first.join('|')));
    QCOMPARE(first[2], QStringLiteral("3 OK"));
    QVERIFY(sim.WaitForTrace("not answered (silent)", kLinkWaitMs));

    const int back = sim.Mark();
    Choose(Child<QComboBox>(form, "UnitAdd"), 2);
    QCOMPARE(int{CameraAddress}, 2);
    QVERIFY2(sim.WaitForTrace("poll reply addr 2", kLinkWaitMs, back),
             qPrintable(sim.Diagnostics()));
    QVERIFY(WaitForLamp(*form, LampColour::Lime));
    QCOMPARE(Results(WriteToSeveral(form, "1-3")), (QStringList{"1 OK", "2 OK", "3 OK"}));
    QCOMPARE(messages.Texts(), QStringList());
  }

  void theMonitorShowsAReadCameraFrameByFrame() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {"--line-timing"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    const qint64 closedMs = ReadCamera(form);
    QVERIFY(closedMs >= 0);

    Child<QAction>(form, "LineMonitor")->trigger();
    auto* monitor = form->findChild<LineMonitorWindow*>();
    QVERIFY(monitor != nullptr && monitor->isVisible());
    const qint64 openMs = ReadCamera(form);
    QVERIFY(openMs >= 0);
    qInfo("Read Camera: %lld ms with the monitor closed, %lld ms with it open", closedMs, openMs);

    // Each read request the camera answered, and its reply, in their words.
    const QStringList lines =
        Child<QPlainTextEdit>(monitor, "MonitorText")->toPlainText().split('\n');
    QStringList requests;
    for (int i = 0; i + 1 < lines.size(); ++i) {
      if (!lines[i].contains(" TX ") || !lines[i].contains("read ")) continue;
      if (!lines[i + 1].contains(" RX ") || !lines[i + 1].contains("read reply ")) continue;
      requests << lines[i].mid(lines[i].indexOf("read "));
      const QString item = lines[i].mid(lines[i].indexOf("read ") + 5).section(" addr", 0, 0);
      QVERIFY2(lines[i + 1].contains("read reply " + item), qPrintable(lines[i + 1]));
    }
    requests.removeDuplicates();
    QStringList expected;
    for (const QByteArray& frame : ReadCameraRequests(1)) {
      expected << QString::fromStdString(
          DescribeFrame(reinterpret_cast<const uint8_t*>(frame.constData()), kFrameSize));
    }
    expected.removeDuplicates();
    QCOMPARE(requests, expected);
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(InstallerToolsTest)
#include "installer_tools_test.moc"
