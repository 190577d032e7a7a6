// The PTZ buttons of the real main window against the camera simulator: the
// camera's on-screen menu opens and follows the buttons, in Pelco P and, after
// a change in the Protocol menu, in ERNITEC.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

namespace {

// The simulator's printout so far.
class CamSim {
 public:
  CamSim(const TestProgramFolder& folder, const QStringList& options) {
    const QString program = QCoreApplication::applicationDirPath() + "/zelta-camsim";
    if (!QFileInfo(program).isExecutable()) return;
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(program, QStringList{"--link", folder.FilePath("Com1")} + options);
    ready_ = process_.waitForStarted(5000) && WaitFor("ready on", 5000);
  }
  ~CamSim() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
  }
  bool Ready() const { return ready_; }
  // Runs the event loop until the printout holds `text` after `from`.
  bool WaitFor(const QString& text, int waitMs, int from = 0) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs) {
      output_ += QString::fromUtf8(process_.readAll());
      if (output_.indexOf(text, from) >= 0) return true;
      QTest::qWait(20);
    }
    return false;
  }
  int Size() const { return static_cast<int>(output_.size()); }
  QString Output() const { return output_; }

 private:
  QProcess process_;
  QString output_;
  bool ready_ = false;
};

}  // namespace

class PelcoCamSimTest : public QObject {
  Q_OBJECT

 private slots:
  void theCamerasMenuFollowsTheButtons() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {"--baud", "4800", "--protocol", "pelco-p"});
    if (!sim.Ready()) QSKIP("zelta-camsim is not built beside the test");
    auto form = StartForm(folder);
    QVERIFY(Child<QAction>(form, "PelcoP")->isChecked());

    Child<QToolButton>(form, "OSDOnSpeed")->click();
    QVERIFY2(sim.WaitFor("MENU open", 3000), qPrintable(sim.Output()));
    QVERIFY(sim.WaitFor("MENU  > D/N MODE", 1000));
    int mark = sim.Size();
    Child<QToolButton>(form, "DownButton")->click();
    QVERIFY2(sim.WaitFor("MENU  > D/N LEVEL", 3000, mark), qPrintable(sim.Output()));
    mark = sim.Size();
    Child<QToolButton>(form, "RightButton")->click();  // the Down frames
    QVERIFY2(sim.WaitFor("MENU  > D/N FIL", 3000, mark), qPrintable(sim.Output()));
    mark = sim.Size();
    Child<QToolButton>(form, "LeftButton")->click();  // the Up frames
    QVERIFY2(sim.WaitFor("MENU  > D/N LEVEL", 3000, mark), qPrintable(sim.Output()));
    mark = sim.Size();
    Child<QToolButton>(form, "SelectButton")->click();
    QVERIFY2(sim.WaitFor("MENU *> D/N LEVEL", 3000, mark), qPrintable(sim.Output()));
    QVERIFY(sim.Output().indexOf("dropped") < 0);
    QVERIFY(messages.Texts().isEmpty());
  }

  void anotherProtocolIsObeyedAfterTheMenuChoice() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {"--baud", "4800", "--protocol", "ernitec"});
    if (!sim.Ready()) QSKIP("zelta-camsim is not built beside the test");
    auto form = StartForm(folder);
    Child<QAction>(form, "ERNITEC")->trigger();
    QVERIFY(Child<QAction>(form, "ERNITEC")->isChecked());
    Child<QToolButton>(form, "OSDOnSpeed")->click();
    QVERIFY2(sim.WaitFor("MENU  > D/N MODE", 3000), qPrintable(sim.Output()));
    const int mark = sim.Size();
    Child<QToolButton>(form, "DownButton")->click();
    QVERIFY2(sim.WaitFor("MENU  > D/N LEVEL", 3000, mark), qPrintable(sim.Output()));
  }
};

QTEST_MAIN(PelcoCamSimTest)
#include "pelco_camsim_test.moc"
