// The PTZ buttons of the real main window against the camera simulator: the
// camera's on-screen menu opens and follows the buttons, in Pelco P and, after
// a change in the Protocol menu, in ERNITEC.
#include <QToolButton>
#include <QtTest>

#include "tests/ui/support/cam_sim.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

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
