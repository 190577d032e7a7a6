// Write Camera end to end: values changed through the panel's widgets reach
// the simulator, which holds them afterwards (a later start reads them back);
// a camera in AI-lens mode refuses SHUTTER "AUTO" with one message and the
// chain goes on.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/control_up_down.h"

namespace {

// Item and ID position of each write the simulator heard, repeats dropped.
QList<QPair<int, int>> WritesHeard(CamSim& sim, int from) {
  QList<QByteArray> heard;
  for (const TraceLine& line : sim.Frames("RX", from)) heard << line.bytes;
  QList<QPair<int, int>> writes;
  for (const QByteArray& frame : WithoutRepeats(WithCommand(heard, kCmdWrite))) {
    const int item = static_cast<uint8_t>(frame[5]);
    writes << qMakePair(item,
                        item == kItemId ? static_cast<int>(static_cast<uint8_t>(frame[6])) : 0);
  }
  return writes;
}

QList<QPair<int, int>> WriteCameraOrder() {
  QList<QPair<int, int>> writes;
  for (const uint8_t item : kTransferOrder) {
    const int count = item == kItemId ? static_cast<int>(kIdLength) : 1;
    for (int i = 0; i < count; ++i)
      writes << qMakePair(static_cast<int>(item), item == kItemId ? i : 0);
  }
  return writes;
}

void ClickTimes(QToolButton* button, int times) {
  for (int i = 0; i < times; ++i) button->click();
}

}  // namespace

class WriteCameraTest : public QObject {
  Q_OBJECT

 private slots:
  void theCameraHoldsTheValuesOfThePanel() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));

    Choose(Child<QComboBox>(form, "DNModeSel"), ListPosition(kItemDNMode, "MANUAL"));
    Choose(Child<QComboBox>(form, "DNLevelSel"), ListPosition(kItemDNLevel, "LOW"));
    Choose(Child<QComboBox>(form, "DNFilSel"), ListPosition(kItemDNFil, "OFF"));
    Choose(Child<QComboBox>(form, "ShutterSel"), ListPosition(kItemShutter, "1/500"));
    Choose(Child<QComboBox>(form, "GainSel"), ListPosition(kItemGain, "WIDE"));
    Choose(Child<QComboBox>(form, "SyncSel"), ListPosition(kItemSync, "INT"));
    Choose(Child<QComboBox>(form, "GammaSel"), ListPosition(kItemGamma, "1"));
    Choose(Child<QComboBox>(form, "BlcSel"), ListPosition(kItemBlc, "BLC2"));
    Choose(Child<QComboBox>(form, "SharpnessSel"), ListPosition(kItemAperture, "HIGH"));
    Choose(Child<QComboBox>(form, "PredtmspSel"), ListPosition(kItemPredtmsp, "1/120"));
    Choose(Child<QComboBox>(form, "IDPosSel"), ListPosition(kItemIdPos, "TOP"));
    Choose(Child<QComboBox>(form, "WhiteBalSel"), ListPosition(kItemWhiteBal, "MANUAL"));
    QVERIFY(form->Panel().GainControlsVisible());
    const int red = Child<TUpDown>(form, "RedUpDown")->Position() + 5;
    const int blue = Child<TUpDown>(form, "BlueUpDown")->Position() - 3;
    ClickTimes(Child<TUpDown>(form, "RedUpDown")->UpArrow(), 5);
    ClickTimes(Child<TUpDown>(form, "BlueUpDown")->DownArrow(), 3);
    Child<QLineEdit>(form, "IdEdit")->setFocus();
    Child<QLineEdit>(form, "IdEdit")->selectAll();
    QTest::keyClicks(Child<QLineEdit>(form, "IdEdit"), "GATE 7");
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text(), QString("GATE 7"));
    QCOMPARE(Child<QLineEdit>(form, "RedNumEdit")->text(), QString::number(red));
    QCOMPARE(Child<QLineEdit>(form, "BlueNumEdit")->text(), QString::number(blue));

    CameraValues wanted = PanelValues(*form);
    QCOMPARE(wanted.items[kItemRedGain], red);
    wanted.id = QStringLiteral("GATE 7").leftJustified(static_cast<int>(kIdLength), ' ');

    const int mark = sim.Mark();
    Child<QPushButton>(form, "WriteButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));
    QCOMPARE(WritesHeard(sim, mark), WriteCameraOrder());
    QCOMPARE(messages.Texts(), QStringList());

    // A later start reads back what the camera now holds.
    form->close();
    form.reset();
    form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    QVERIFY(PanelValues(*form).Text() != wanted.Text());
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));
    QCOMPARE(PanelValues(*form).Text(), wanted.Text());
    QCOMPARE(messages.Texts(), QStringList());
  }

  void anAiLensCameraRefusesShutterAutoOnceAndTheChainGoesOn() {
    TestProgramFolder folder;
    MessageLog messages;
    const int shutter = ListPosition(kItemShutter, "1/250");
    CamSim sim(folder, {"--ai-lens", "--set", QStringLiteral("SHUTTER=%1").arg(shutter)});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    QCOMPARE(Child<QComboBox>(form, "ShutterSel")->currentText(), QString("AUTO"));

    const int mark = sim.Mark();
    Child<QPushButton>(form, "WriteButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));
    QCOMPARE(messages.Texts(),
             QStringList{"Camera is in AI Lens mode ,shutter can't setting AUTO"});
    QCOMPARE(messages.Messages().first().caption, QString("INFORMATION"));
    QCOMPARE(messages.Messages().first().icon, MessageIcon::Information);
    QCOMPARE(Child<QComboBox>(form, "ShutterSel")->currentIndex(), shutter);
    // SHUTTER was written once, and every item after it followed.
    QCOMPARE(WritesHeard(sim, mark), WriteCameraOrder());
    QVERIFY2(sim.WaitForTrace("write reply SHUTTER = 3", kTraceWaitMs, mark),
             qPrintable(sim.Diagnostics()));
  }
};

ZELTA_E2E_MAIN(WriteCameraTest)
#include "write_camera_test.moc"
