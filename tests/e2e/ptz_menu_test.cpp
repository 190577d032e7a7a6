// The PTZ buttons end to end in each PTZ protocol: OSD on, Down, Up and Select
// reach the simulator byte for byte and move the camera's on-screen menu.
#include <QAction>
#include <QToolButton>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/ptz_frames.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

Q_DECLARE_METATYPE(PtzProtocol)

namespace {

QByteArray PtzBytes(PtzProtocol protocol, PtzCommand command, uint8_t address) {
  uint8_t buffer[kPtzFrameSize] = {};
  const PtzFrameRef frame = BuildPtzFrame(buffer, protocol, command, address);
  return Bytes(frame.data, frame.length);
}

// The PTZ frames the simulator heard from line `from` on (the camera
// protocol's polls go on meanwhile and are left out).
QStringList PtzHeard(CamSim& sim, int from) {
  QStringList frames;
  for (const TraceLine& line : sim.Frames("RX", from)) {
    const bool settingsFrame = line.bytes.size() == static_cast<qsizetype>(kFrameSize) &&
                               static_cast<uint8_t>(line.bytes[0]) == kFrameStart;
    if (!settingsFrame) frames << HexText(line.bytes);
  }
  return frames;
}

}  // namespace

class PtzMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void theButtonsMoveTheCamerasMenu_data() {
    QTest::addColumn<QString>("simProtocol");
    QTest::addColumn<PtzProtocol>("protocol");
    QTest::newRow("Pelco P") << "pelco-p" << kProtocolPelcoP;
    QTest::newRow("Pelco D") << "pelco-d" << kProtocolPelcoD;
    QTest::newRow("ERNITEC") << "ernitec" << kProtocolErnitec;
  }

  void theButtonsMoveTheCamerasMenu() {
    QFETCH(QString, simProtocol);
    QFETCH(PtzProtocol, protocol);
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder, {"--protocol", simProtocol});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QAction* item = protocol == kProtocolPelcoP   ? Child<QAction>(form, "PelcoP")
                    : protocol == kProtocolPelcoD ? Child<QAction>(form, "PelcoD")
                                                  : Child<QAction>(form, "ERNITEC");
    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    const auto frame = [protocol](PtzCommand command) {
      return HexText(PtzBytes(protocol, command, 1));
    };

    struct Step {
      QToolButton* button;
      QStringList frames;
      const char* menu;  // the menu line the camera shows afterwards
    };
    const Step steps[] = {
        {Child<QToolButton>(form, "OSDOnSpeed"), {frame(PtzCommand::OsdOn)}, "MENU  > D/N MODE"},
        {Child<QToolButton>(form, "DownButton"),
         {frame(PtzCommand::Down), frame(PtzCommand::Stop)},
         "MENU  > D/N LEVEL"},
        {Child<QToolButton>(form, "DownButton"),
         {frame(PtzCommand::Down), frame(PtzCommand::Stop)},
         "MENU  > D/N FIL"},
        {Child<QToolButton>(form, "UpButton"),
         {frame(PtzCommand::Up), frame(PtzCommand::Stop)},
         "MENU  > D/N LEVEL"},
        {Child<QToolButton>(form, "SelectButton"),
         {frame(PtzCommand::Select)},
         "MENU *> D/N LEVEL"},
    };
    for (const Step& step : steps) {
      const int mark = sim.Mark();
      step.button->click();
      QVERIFY2(sim.WaitForTrace(step.menu, kTraceWaitMs, mark),
               qPrintable(step.button->objectName() + "\n" + sim.Diagnostics()));
      // The Stop frame may be traced just after the menu moved.
      (void)QTest::qWaitFor([&] { return PtzHeard(sim, mark).size() >= step.frames.size(); },
                            kTraceWaitMs);
      QCOMPARE(PtzHeard(sim, mark), step.frames);
    }
    QVERIFY2(!sim.Diagnostics().contains("dropped"), qPrintable(sim.Diagnostics()));
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(PtzMenuTest)
#include "ptz_menu_test.moc"
