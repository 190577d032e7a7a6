// Read Camera over a poor line: stray bytes before the replies, and replies
// that arrive in pieces. The panel must still end with exactly the camera's
// values.
#include <QPushButton>
#include <QtTest>

#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

class NoisyLineTest : public QObject {
  Q_OBJECT

 private slots:
  void readCameraGetsExactlyTheCamerasValues_data() {
    QTest::addColumn<QStringList>("line");
    QTest::addColumn<QString>("seen");  // a trace line that shows the trouble happened
    QTest::newRow("noise") << QStringList{"--noise", "0.5", "--seed", "7"} << " noise";
    QTest::newRow("split") << QStringList{"--split"} << "read reply ID. pos 15";
    QTest::newRow("noise and split")
        << QStringList{"--noise", "0.5", "--seed", "3", "--split"} << " noise";
  }

  void readCameraGetsExactlyTheCamerasValues() {
    QFETCH(QStringList, line);
    QFETCH(QString, seen);
    TestProgramFolder folder;
    MessageLog messages;
    const CameraValues camera = LobbyCamera();
    CamSim sim(folder, SimOptionsFor(camera) + line);
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));
    QCOMPARE(PanelValues(*form).Text(), camera.Text());
    QVERIFY2(sim.WaitForTrace(seen, kTraceWaitMs), qPrintable(sim.Diagnostics()));
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(NoisyLineTest)
#include "noisy_line_test.moc"
