// Get Protocol State end to end: ZELTA sits at 4800 baud, Pelco P, address 1
// while the camera is at address 37, 9600 baud, Pelco D. The search finds it,
// ZELTA takes the camera's line settings and the lamp turns green.
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

class ProtocolStateTest : public QObject {
  Q_OBJECT

 private slots:
  void theSearchFindsTheCamerasLine() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {"--address", "37", "--baud", "9600", "--protocol", "pelco-d"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY(Child<QAction>(form, "BR4800")->isChecked());
    QVERIFY(Child<QAction>(form, "PelcoP")->isChecked());
    // The camera does not hear 4800 baud: the lamp stays red.
    QVERIFY2(sim.WaitForTrace("ignored: line at 4800 baud", kTraceWaitMs),
             qPrintable(sim.Diagnostics()));
    QCOMPARE(form->LinkView().Lamp(), LampColour::Red);
    QVERIFY(!Child<QPushButton>(form, "ReadButton")->isEnabled());
    const QByteArray portDat = folder.Read("Port.dat");

    const int mark = sim.Mark();
    Child<QAction>(form, "GetRS422SETS1")->trigger();
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(Describe(*form) + sim.Diagnostics()));

    QCOMPARE(Child<QComboBox>(form, "HundredAdd")->currentText(), QString("0"));
    QCOMPARE(Child<QComboBox>(form, "TenAdd")->currentText(), QString("3"));
    QCOMPARE(Child<QComboBox>(form, "UnitAdd")->currentText(), QString("7"));
    QCOMPARE(form->StatusText(1), QString("Baud Rate : 9600"));
    QCOMPARE(form->StatusText(2), QString("Protocol Type : PELCO D"));
    QVERIFY(Child<QAction>(form, "BR9600")->isChecked());
    QVERIFY(!Child<QAction>(form, "BR4800")->isChecked());
    QVERIFY(Child<QAction>(form, "PelcoD")->isChecked());
    QVERIFY(!Child<QAction>(form, "PelcoP")->isChecked());
    QVERIFY(Child<QPushButton>(form, "ReadButton")->isEnabled());

    // At 9600 the query was answered, and the poll that followed went to the
    // camera's address with the Pelco D code.
    const QList<TraceLine> trace = sim.Trace();
    int query = -1;
    for (int i = mark; i < trace.size(); ++i) {
      if (trace[i].meaning == "get protocol state addr 0") {
        query = i;
        break;
      }
    }
    QVERIFY2(query >= 0, qPrintable(sim.Diagnostics()));
    uint8_t getState[kFrameSize];
    BuildGetProtocolStateFrame(getState);
    QCOMPARE(HexText(trace[query].bytes), HexText(Bytes(getState, kFrameSize)));
    QVERIFY2(query + 1 < trace.size() &&
                 trace[query + 1].meaning == "protocol state reply addr 37, 9600 baud, PELCO D",
             qPrintable(sim.Diagnostics()));
    bool polled = false;
    for (int i = query + 2; i < trace.size() && !polled; ++i) {
      polled = trace[i].direction == "RX" && trace[i].bytes == PollRequest(37, kProtocolPelcoD);
    }
    QVERIFY2(polled, qPrintable(sim.Diagnostics()));
    // The search is not a menu choice: "Port.dat" is left as it was.
    QCOMPARE(folder.Read("Port.dat"), portDat);
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(ProtocolStateTest)
#include "protocol_state_test.moc"
