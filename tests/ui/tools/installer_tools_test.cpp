// The installer tools as the user meets them: their entries at the end of the
// Tools menu with their help topics, the address list a write refuses, the
// line monitor's Pause, Clear, length and saved file, the tools' windows that
// block the main window and not the monitor, ask before ending a write, and
// keep their last run.
#include "ui/tools/installer_tools.h"

#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>

#include "comm/comm.h"
#include "link/address_list.h"
#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "tests/settings/file_size_limit.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/compare_camera_dialog.h"
#include "ui/tools/find_cameras_dialog.h"
#include "ui/tools/line_backup_dialog.h"
#include "ui/tools/line_monitor_window.h"
#include "ui/tools/multi_write_dialog.h"
#include "ui/widgets/help_file.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/help_viewer.h"

namespace {

int Context(const QObject* object) {
  return object->property(kHelpContextProperty).toInt();
}

// A port without a line: what is written goes nowhere, what is read was queued.
struct QuietPort : LinkPort {
  bool Enabled() const override { return true; }
  int32_t Write(const uint8_t*, uint32_t count) override { return static_cast<int32_t>(count); }
  int32_t Read(uint8_t* buffer, uint32_t count) override {
    uint32_t n = 0;
    for (; n < count && !queued.empty(); ++n) {
      buffer[n] = queued.front();
      queued.pop_front();
    }
    return static_cast<int32_t>(n);
  }
  void SetRTSState(bool) override {}
  int BaudRate() const override { return 4800; }
  void SetBaudRate(int) override {}
  std::deque<uint8_t> queued;
};

void SendPoll(TappedLinkPort& port, uint8_t address) {
  uint8_t frame[kFrameSize];
  BuildPollFrame(frame, address, kProtocolPelcoP);
  port.Write(frame, kFrameSize);
}

// Runs `step` on the tool's window while it is open, then closes it.
void WhileOpen(void (InstallerTools::*click)(), InstallerTools* tools,
               const std::function<void(QDialog*)>& step) {
  QTimer::singleShot(0, tools, [step] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    step(dialog);
    dialog->reject();
  });
  (tools->*click)();
}

// Counts the mouse presses that reach a window.
struct PressCount : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) ++presses;
    return false;
  }
  int presses = 0;
};

QStringList Lines(LineMonitorWindow* monitor) {
  const QString text = Child<QPlainTextEdit>(monitor, "MonitorText")->toPlainText();
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

}  // namespace

class InstallerToolsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestProgramFolder> folder_;
  std::unique_ptr<MessageLog> messages_;
  std::unique_ptr<PtyLine> com1_;
  std::unique_ptr<TForm1> form_;

 private slots:
  void initTestCase() {
    SetHelpFilePath(QFINDTESTDATA("../../resources/help/ZELTAHELP.HLP"));
    folder_ = std::make_unique<TestProgramFolder>();
    messages_ = std::make_unique<MessageLog>();
    com1_ = std::make_unique<PtyLine>(*folder_, QStringLiteral("Com1"));
    form_ = StartForm(*folder_);
    QVERIFY(form_ != nullptr);
  }
  void cleanupTestCase() {
    form_.reset();
    com1_.reset();
    messages_.reset();
    folder_.reset();
    SetHelpFilePath(QString());
  }

  void theToolsMenuEndsWithTheToolsAndTheLineBookAndTheirTopics() {
    const QList<QAction*> items = Child<QMenu>(form_, "R1")->actions();
    QVERIFY(items.size() >= 8);
    QVERIFY(items[items.size() - 8]->isSeparator());
    QVERIFY(items[items.size() - 4]->isSeparator());
    struct Entry {
      const char* name;
      const char* caption;
      int context;
    };
    const Entry expected[] = {{"FindCameras", "Find Cameras...", kFindCamerasContext},
                              {"MultiWrite", "Write to Several Cameras...", kMultiWriteContext},
                              {"LineMonitor", "Line Monitor", kLineMonitorContext},
                              {"LineBackup", "Back Up Line...", kLineBackupContext},
                              {"LineRestore", "Restore Line...", kLineRestoreContext},
                              {"CompareCamera", "Compare with Camera...", kCompareCameraContext}};
    THelpViewer viewer;
    viewer.ShowTopic(kFindCamerasContext);
    for (int i = 0; i < 6; ++i) {
      const QAction* item = items[items.size() - 7 + i + i / 3];
      QCOMPARE(item->objectName(), QString::fromLatin1(expected[i].name));
      QCOMPARE(item->text(), QString::fromLatin1(expected[i].caption));
      QVERIFY(item->isEnabled() && !item->isCheckable());
      QCOMPARE(Context(item), expected[i].context);
      QVERIFY(viewer.HasTopic(expected[i].context));
    }
  }

  void anAddressListThatCannotBeReadIsReportedAsTheParserSaysIt() {
    const std::vector<LineScanFind> none;
    MultiWriteDialog dialog(*form_, none, form_.get());
    QCOMPARE(HelpContextOf(Child<QLineEdit>(&dialog, "AddressEdit")), kMultiWriteContext);
    QVERIFY(!Child<QPushButton>(&dialog, "FoundButton")->isEnabled());
    for (const char* text : {"", "0", "2-", "300", "9-3", "4, x"}) {
      messages_->Clear();
      Child<QLineEdit>(&dialog, "AddressEdit")->setText(QString::fromLatin1(text));
      Child<QPushButton>(&dialog, "StartButton")->click();
      const std::string error = ParseAddressList(text).error;
      QVERIFY2(!error.empty(), text);
      QCOMPARE(messages_->Texts(), QStringList{QString::fromStdString(error)});
      QCOMPARE(messages_->Messages().front().caption, QStringLiteral("ERROR"));
      QCOMPARE(Child<QTableWidget>(&dialog, "ResultTable")->rowCount(), 0);
      QVERIFY(Child<QPushButton>(&dialog, "StartButton")->isEnabled());
    }
    QVERIFY(!form_->Link().LinkBusy());
  }

  void camerasFoundFillTheAddressList() {
    // Two cameras at 4 would both get one panel: left out.
    const std::vector<LineScanFind> found = {
        {5, 2, ""}, {1, 2, ""}, {2, 2, ""}, {3, 3, ""}, {4, 2, kDuplicateAddressRemark}};
    MultiWriteDialog dialog(*form_, found, form_.get());
    Child<QPushButton>(&dialog, "FoundButton")->click();
    QCOMPARE(Child<QLineEdit>(&dialog, "AddressEdit")->text(), QStringLiteral("1-3, 5"));
  }

  void findCamerasOnAClosedPortSaysSoAndDoesNotStart() {
    messages_->Clear();
    std::vector<LineScanFind> found = {{5, 2, ""}};
    FindCamerasDialog dialog(*form_, found, form_.get());
    form_->Comm1->Close();
    Child<QPushButton>(&dialog, "StartButton")->click();
    const bool paused = form_->Link().Paused();
    form_->OpenComPort();
    QCOMPARE(messages_->Texts(),
             QStringList{QStringLiteral("There is not COM1 on PC or other software is using.")});
    QVERIFY(!paused);
    QVERIFY(Child<QPushButton>(&dialog, "StartButton")->isEnabled());
    QCOMPARE(found.size(), size_t{1});
  }

  void aStoppedWriteShowsHowFarItGot() {
    const std::vector<LineScanFind> none;
    MultiWriteDialog dialog(*form_, none, form_.get());
    com1_->Receive(1 << 20, 50);  // the polls so far
    Child<QLineEdit>(&dialog, "AddressEdit")->setText(QStringLiteral("2, 3"));
    Child<QPushButton>(&dialog, "StartButton")->click();
    // Camera 2 takes D/N MODE; the run is stopped while D/N LEVEL goes out.
    const QByteArray first = com1_->Receive(kFrameSize, 2000);
    QCOMPARE(first.size(), int{kFrameSize});
    QCOMPARE(uint8_t(first[kFrameAddress]), uint8_t{2});
    QCOMPARE(uint8_t(first[kFrameItem]), kItemDNMode);
    uint8_t reply[kFrameSize];
    BuildReplyFrame(reply, 2, kReplyWrite, kItemDNMode, uint8_t(first[kFrameValue]), 0);
    com1_->Send(QByteArray(reinterpret_cast<const char*>(reply), kFrameSize));
    const QByteArray second = com1_->Receive(kFrameSize, 2000);
    QCOMPARE(uint8_t(second[kFrameItem]), kItemDNLevel);
    Child<QPushButton>(&dialog, "StopButton")->click();

    auto* table = Child<QTableWidget>(&dialog, "ResultTable");
    QCOMPARE(table->rowCount(), 2);
    QVERIFY2(table->item(0, 1)->text().startsWith("Stopped at D/N LEVEL; not written: D/N FIL, "),
             qPrintable(table->item(0, 1)->text()));
    QVERIFY(table->item(0, 1)->font().bold());
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("Stopped"));
    QVERIFY(!table->item(1, 1)->font().bold());
    QCOMPARE(Child<QProgressBar>(&dialog, "Progress")->value(), 1);
    QVERIFY(!form_->Link().LinkBusy());
  }

  // A folder that is a file is refused before the line is touched; then the
  // line book waits for a write that holds the line.
  void theLineBookStartsNothingOnABadFolderOrWhileTheLineIsBusy() {
    const std::vector<LineScanFind> none;
    MultiWriteDialog write(*form_, none, form_.get());
    LineBackupDialog backup(*form_, none, form_.get());
    CompareCameraDialog compare(*form_, form_.get());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("file"));
    QVERIFY(QFile(file).open(QIODevice::WriteOnly));
    Child<QLineEdit>(&backup, "AddressEdit")->setText(QStringLiteral("4"));
    Child<QLineEdit>(&backup, "FolderEdit")->setText(file);
    messages_->Clear();
    Child<QPushButton>(&backup, "StartButton")->click();
    QVERIFY(!form_->Link().LinkBusy());
    QCOMPARE(messages_->Texts().size(), 1);
    QVERIFY2(messages_->Texts().front().startsWith("Can not use the folder \"" + file + "\".\n"),
             qPrintable(messages_->Texts().front()));

    Child<QLineEdit>(&backup, "FolderEdit")->setText(dir.path());
    Child<QLineEdit>(&write, "AddressEdit")->setText(QStringLiteral("5"));
    Child<QPushButton>(&write, "StartButton")->click();
    QVERIFY(form_->Link().LinkBusy());
    messages_->Clear();
    Child<QPushButton>(&backup, "StartButton")->click();
    Child<QPushButton>(&compare, "StartButton")->click();
    const QString busy =
        QStringLiteral("The line is busy. Try again when the transfer has finished.");
    QCOMPARE(messages_->Texts(), (QStringList{busy, busy}));
    QVERIFY(Child<QPushButton>(&backup, "StartButton")->isEnabled());
    QVERIFY(Child<QPushButton>(&compare, "StartButton")->isEnabled());
    QCOMPARE(Child<QTableWidget>(&backup, "ResultTable")->rowCount(), 0);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("line.csv"))));
    Child<QPushButton>(&write, "StopButton")->click();
    QVERIFY(!form_->Link().LinkBusy());
  }

  void theMonitorPausesClearsAndKeepsTheLastLines() {
    QuietPort quiet;
    TappedLinkPort port(quiet);
    QPointer<LineMonitorWindow> monitor = new LineMonitorWindow(port, form_.get());
    monitor->show();
    QCOMPARE(port.Listener(), monitor.data());

    SendPoll(port, 7);
    uint8_t reply[kFrameSize];
    BuildReplyFrame(reply, 7, kReplyPoll, 0, 0, 0);
    quiet.queued.assign(reply, reply + kFrameSize);
    uint8_t buffer[kFrameSize];
    QCOMPARE(port.Read(buffer, kFrameSize), int32_t{kFrameSize});
    QStringList lines = Lines(monitor);
    QCOMPARE(lines.size(), 2);
    uint8_t poll[kFrameSize];
    BuildPollFrame(poll, 7, kProtocolPelcoP);
    QVERIFY2(lines[0].contains(QStringLiteral(" TX ")) && lines[0].contains("CC 01 01 07") &&
                 lines[0].endsWith(QString::fromStdString(DescribeFrame(poll, kFrameSize))),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].contains(QStringLiteral(" RX ")) &&
                 lines[1].endsWith(QString::fromStdString(DescribeFrame(reply, kFrameSize))),
             qPrintable(lines[1]));

    auto* pause = Child<QPushButton>(monitor, "PauseButton");
    pause->click();
    QCOMPARE(pause->text(), QStringLiteral("Resume"));
    SendPoll(port, 8);
    QCOMPARE(monitor->LineCount(), 2);
    pause->click();
    QCOMPARE(pause->text(), QStringLiteral("Pause"));
    SendPoll(port, 9);
    QCOMPARE(monitor->LineCount(), 3);
    QVERIFY(Lines(monitor).last().contains(QStringLiteral("CC 01 01 09")));

    // A keyboard on the line moves camera 1.
    quiet.queued = {0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x48};
    QCOMPARE(port.Read(buffer, kFrameSize), 7);
    QVERIFY2(Lines(monitor).last().endsWith(QStringLiteral("PELCO D Up addr 1")),
             qPrintable(Lines(monitor).last()));

    Child<QPushButton>(monitor, "ClearButton")->click();
    QCOMPARE(monitor->LineCount(), 0);

    const int extra = 5;
    for (int i = 0; i < LineMonitorWindow::kMaxLines + extra; ++i) {
      SendPoll(port, static_cast<uint8_t>(1 + i % kLastCameraAddress));
    }
    QCOMPARE(monitor->LineCount(), LineMonitorWindow::kMaxLines);
    QVERIFY(Lines(monitor).first().contains(QStringLiteral("addr %1 ").arg(1 + extra)));
    // The saved file says that lines went before its first.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.txt"));
    const auto savedLines = [&] {
      QFile file(path);
      return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n')
                                            : QStringList();
    };
    QVERIFY(monitor->SaveTo(path));
    QStringList saved = savedLines();
    QCOMPARE(saved.size(), LineMonitorWindow::kMaxLines + 3);
    QCOMPARE(saved[1], QStringLiteral("(5 earlier lines dropped: the monitor keeps the last "
                                      "10000 lines)"));
    QCOMPARE(saved[2], Lines(monitor).first());
    Child<QPushButton>(monitor, "ClearButton")->click();
    SendPoll(port, 2);
    QVERIFY(monitor->SaveTo(path));
    saved = savedLines();
    QCOMPARE(saved.size(), 3);
    QVERIFY(saved[1].contains(QStringLiteral("CC 01 01 02")));

    // Closed, the window is gone and nobody listens.
    monitor->close();
    QTRY_VERIFY(monitor.isNull());
    QCOMPARE(port.Listener(), nullptr);

    // A monitor that outlives its port, as when the main window goes.
    auto gone = std::make_unique<TappedLinkPort>(quiet);
    auto* orphan = new LineMonitorWindow(*gone, form_.get());
    gone.reset();
    delete orphan;
  }

  // On a full disk both say so and leave no empty file; a FIFO is not replaced.
  void aSaveThatFailsIsShownAndLeavesNothing() {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QuietPort quiet;
    TappedLinkPort port(quiet);
    auto* monitor = new LineMonitorWindow(port, form_.get());
    const std::vector<LineScanFind> none;
    MultiWriteDialog dialog(*form_, none, form_.get());
    const std::function<bool(const QString&)> savers[] = {
        [&](const QString& path) { return monitor->SaveTo(path); },
        [&](const QString& path) { return dialog.SaveReport(path); }};
    for (const auto& save : savers) {
      const QString path = dir.filePath(QStringLiteral("saved"));
      messages_->Clear();
      {
        const FileSizeLimit full(8);
        QVERIFY(!save(path));
      }
      QVERIFY(!QFile::exists(path));
      QVERIFY(!save(fifo));
      QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo::exists(fifo));
      QCOMPARE(
          messages_->Texts(),
          (QStringList{QStringLiteral("Can not save the file \"%1\".\nFile too large").arg(path),
                       QStringLiteral("Can not save the file \"%1\".\nNot a regular file: a "
                                      "FIFO (named pipe)")
                           .arg(fifo)}));
      QCOMPARE(messages_->Messages().front().caption, QStringLiteral("ERROR"));
      QVERIFY(save(path));
      QVERIFY(QFileInfo(path).size() > 0);
      QVERIFY(QFile::remove(path));
    }
    delete monitor;
  }

  void theToolsBlockTheMainWindowButNotTheMonitor() {
    auto* tools = form_->findChild<InstallerTools*>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    Child<QAction>(form_, "LineMonitor")->trigger();
    QPointer<LineMonitorWindow> monitor = tools->Monitor();
    QVERIFY(QTest::qWaitForWindowExposed(monitor.data()));
    auto* pause = Child<QPushButton>(monitor, "PauseButton");
    PressCount main;
    form_->windowHandle()->installEventFilter(&main);
    for (auto click : {&InstallerTools::FindCamerasClick, &InstallerTools::MultiWriteClick,
                       &InstallerTools::LineBackupClick, &InstallerTools::LineRestoreClick,
                       &InstallerTools::CompareCameraClick}) {
      WhileOpen(click, tools, [&](QDialog*) {
        const bool paused = pause->isChecked();
        QTest::mouseClick(monitor->windowHandle(), Qt::LeftButton, {},
                          pause->mapTo(monitor.data(), pause->rect().center()));
        QCOMPARE(pause->isChecked(), !paused);
        QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {}, QPoint(20, 40));
        QCOMPARE(main.presses, 0);
      });
    }
    QVERIFY(pause->isChecked());  // one press in each of five windows
    QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {}, QPoint(20, 40));
    QCOMPARE(main.presses, 1);
    monitor->close();
    QTRY_VERIFY(monitor.isNull());
    form_->hide();
  }

  void closingAWriteAsksFirstAndTheToolsKeepTheirLastRun() {
    auto* tools = form_->findChild<InstallerTools*>();
    WhileOpen(&InstallerTools::FindCamerasClick, tools, [](QDialog* dialog) {
      Child<QCheckBox>(dialog, "Rate1200")->setChecked(false);
      Child<QSpinBox>(dialog, "FirstAddress")->setValue(3);
      Child<QSpinBox>(dialog, "LastAddress")->setValue(9);
    });
    WhileOpen(&InstallerTools::FindCamerasClick, tools, [](QDialog* dialog) {
      QVERIFY(!Child<QCheckBox>(dialog, "Rate1200")->isChecked());
      QVERIFY(Child<QCheckBox>(dialog, "Rate2400")->isChecked());
      QCOMPARE(Child<QSpinBox>(dialog, "FirstAddress")->value(), 3);
      QCOMPARE(Child<QSpinBox>(dialog, "LastAddress")->value(), 9);
    });

    // Nobody answers on this line: the write to 5 runs until it is stopped.
    WhileOpen(&InstallerTools::MultiWriteClick, tools, [this](QDialog* dialog) {
      Child<QLineEdit>(dialog, "AddressEdit")->setText(QStringLiteral("5, 9"));
      Child<QCheckBox>(dialog, "ReadBackCheck")->setChecked(false);
      Child<QPushButton>(dialog, "StartButton")->click();
      QVERIFY(form_->Link().LinkBusy());
      messages_->Clear();
      messages_->SetAnswer(false);
      dialog->reject();
      QCOMPARE(messages_->Messages().size(), 1);
      QCOMPARE(messages_->Messages().front().caption, QStringLiteral("QUESTION"));
      QVERIFY(dialog->isVisible() && form_->Link().LinkBusy());
      messages_->SetAnswer(true);
    });
    QCOMPARE(messages_->Messages().size(), 2);
    QVERIFY(!form_->Link().LinkBusy());
    WhileOpen(&InstallerTools::MultiWriteClick, tools, [](QDialog* dialog) {
      QCOMPARE(Child<QLineEdit>(dialog, "AddressEdit")->text(), QStringLiteral("5, 9"));
      QVERIFY(!Child<QCheckBox>(dialog, "ReadBackCheck")->isChecked());
      const auto* table = Child<QTableWidget>(dialog, "ResultTable");
      QCOMPARE(table->rowCount(), 2);
      QCOMPARE(table->item(1, 1)->text(), QStringLiteral("Stopped"));
      QVERIFY(Child<QLabel>(dialog, "ProgressLabel")->text().startsWith("Stopped: 0 of 2"));
    });
    QCOMPARE(messages_->Messages().size(), 2);
  }

  void theTimeLeftFollowsThePaceOfTheCamerasDone() {
    const auto taking = [](int64_t ms) {
      MultiWriteResult row{};
      row.ms = ms;
      return row;
    };
    std::vector<MultiWriteResult> done;
    QCOMPARE(MultiWriteMsLeft(done, 4, 700), -1);
    done = {taking(3000), taking(5000)};
    QCOMPARE(MultiWriteMsLeft(done, 4, 1000), 7000);
    QCOMPARE(MultiWriteMsLeft(done, 4, 9000), 0);
    done.push_back(taking(0));  // a camera never started
    QCOMPARE(MultiWriteMsLeft(done, 4, 0), 4000);
  }
};

QTEST_MAIN(InstallerToolsTest)
#include "installer_tools_test.moc"
