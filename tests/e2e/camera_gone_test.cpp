// The camera goes away in the middle of Read Camera and comes back: the read
// fails with "READ ERROR.." and a red lamp, the values read so far stay, and
// the lamp turns green again once the camera answers.
#include <QAction>
#include <QPushButton>
#include <QtTest>

#include "link/camera_items.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

namespace {

// Replies slow enough that the read is still running when the camera goes,
// even if the test is held up for a while on a loaded machine.
const QStringList kSlowReplies{"--reply-delay", "100"};

}  // namespace

class CameraGoneTest : public QObject {
  Q_OBJECT

 private slots:
  // The simulator is stopped (SIGSTOP): the line stays, nothing answers.
  void aSilentCameraFailsTheReadAndIsFoundAgain() {
    TestProgramFolder folder;
    MessageLog messages;
    const CameraValues camera = LobbyCamera();
    CamSim sim(folder, SimOptionsFor(camera) + kSlowReplies);
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));

    const int mark = sim.Mark();
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(sim.WaitForTrace("read reply D/N MODE", kTraceWaitMs, mark),
             qPrintable(sim.Diagnostics()));
    sim.Pause();
    QVERIFY2(WaitForStatus(*form, "READ ERROR.."), qPrintable(Describe(*form)));
    QCOMPARE(form->LinkView().Lamp(), LampColour::Red);
    QVERIFY(!Child<QPushButton>(form, "ReadButton")->isEnabled());
    QVERIFY(!Child<QPushButton>(form, "WriteButton")->isEnabled());
    // What was read before the camera went stays in the panel.
    const CameraValues shown = PanelValues(*form);
    QCOMPARE(shown.items.at(kItemDNMode), camera.items.at(kItemDNMode));
    QVERIFY(shown.items.at(kItemBlueGain) != camera.items.at(kItemBlueGain));
    // Pressing the disabled button does nothing.
    Child<QPushButton>(form, "ReadButton")->click();

    sim.Resume();
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(Describe(*form) + sim.Diagnostics()));
    QVERIFY(Child<QPushButton>(form, "ReadButton")->isEnabled());
    QVERIFY2(WaitForStatus(*form, ""), qPrintable(Describe(*form)));

    // And a new Read Camera gets everything.
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));
    QCOMPARE(PanelValues(*form).Text(), camera.Text());
    QCOMPARE(messages.Texts(), QStringList());
  }

  // The adapter is pulled out in the middle of Read Camera and plugged in
  // again (the simulator closes its pseudo-terminal and makes a new one
  // behind the same "Com1"): the read fails as on a silent line, and the lamp
  // turns green again by itself.
  void anUnpluggedAdapterComesBackByItself() {
    TestProgramFolder folder;
    MessageLog messages;
    const CameraValues camera = LobbyCamera();
    CamSim sim(folder, SimOptionsFor(camera) + kSlowReplies +
                           QStringList{"--unplug-after", "4", "--replug-after", "3000"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "READ ERROR.."), qPrintable(Describe(*form) + sim.Diagnostics()));
    QCOMPARE(form->LinkView().Lamp(), LampColour::Red);
    QVERIFY(form->AwaitingPort());

    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(Describe(*form) + sim.Diagnostics()));
    QVERIFY(!form->AwaitingPort());
    QVERIFY2(sim.Diagnostics().contains("plugged in again"), qPrintable(sim.Diagnostics()));
    // What was read before the adapter went stays in the panel.
    QCOMPARE(PanelValues(*form).items.at(kItemDNMode), camera.items.at(kItemDNMode));
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));
    QCOMPARE(PanelValues(*form).Text(), camera.Text());
    QCOMPARE(messages.Texts(), QStringList());
  }

  // The simulator ends and a new one takes its place on "Com1" (as when a USB
  // adapter is pulled and plugged in again): choosing the port again finds it.
  void aRestartedSimulatorIsFoundWhenThePortIsChosenAgain() {
    TestProgramFolder folder;
    MessageLog messages;
    auto sim = std::make_unique<CamSim>(folder, kSlowReplies);
    QVERIFY2(sim->Ready(), qPrintable(sim->Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim->Diagnostics()));

    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(sim->WaitForTrace("read reply D/N MODE", kTraceWaitMs),
             qPrintable(sim->Diagnostics()));
    QVERIFY(sim->Stop());
    sim.reset();
    QVERIFY2(WaitForStatus(*form, "READ ERROR.."), qPrintable(Describe(*form)));
    QCOMPARE(form->LinkView().Lamp(), LampColour::Red);

    // The line itself has gone; that shows only in the lamp and the status
    // bar, not in an error box per frame.
    QCOMPARE(messages.Texts(), QStringList());

    sim = std::make_unique<CamSim>(folder, QStringList{});
    QVERIFY2(sim->Ready(), qPrintable(sim->Diagnostics()));
    // ZELTA still holds the line that went away; "Com2" is not there, so
    // choosing it falls back to "Com1", which is opened afresh.
    Child<QAction>(form, "SerialCOM2")->trigger();
    QCOMPARE(messages.Texts(), QStringList{"There is not COM2 on PC or other software is using."});
    QVERIFY(Child<QAction>(form, "SerialCOM1")->isChecked());
    QVERIFY2(WaitForLamp(*form, LampColour::Lime),
             qPrintable(Describe(*form) + sim->Diagnostics()));
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim->Diagnostics()));
  }
};

ZELTA_E2E_MAIN(CameraGoneTest)
#include "camera_gone_test.moc"
