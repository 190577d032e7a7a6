// Read Camera end to end: ZELTA's main window with the real serial component
// against the camera simulator holding values away from every default. The
// panel must show exactly the camera's values, and the simulator must have
// heard the thirty requests in the transfer order.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/main_window/control_form.h"

class ReadCameraTest : public QObject {
  Q_OBJECT

 private slots:
  void thePanelShowsEveryValueOfTheCamera() {
    TestProgramFolder folder;
    MessageLog messages;
    const CameraValues camera = LobbyCamera();
    CamSim sim(folder, SimOptionsFor(camera) + QStringList{"--set", "0x21=2", "--set", "0x22=3"});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(Describe(*form)));
    QVERIFY(Child<QPushButton>(form, "ReadButton")->isEnabled());

    const int mark = sim.Mark();
    Child<QPushButton>(form, "ReadButton")->click();
    QVERIFY2(WaitForStatus(*form, "Finish", kTransferWaitMs),
             qPrintable(Describe(*form) + "\n" + sim.Diagnostics()));

    QCOMPARE(PanelValues(*form).Text(), camera.Text());
    QCOMPARE(Child<QComboBox>(form, "ShutterSel")->currentText(), QString("1/250"));
    QVERIFY(Child<QComboBox>(form, "ShutterSel")->isVisible());
    QVERIFY(!Child<QComboBox>(form, "ShutterIris")->isVisible());
    QCOMPARE(Child<QComboBox>(form, "WhiteBalSel")->currentText(), QString("MANUAL"));
    QVERIFY(form->Panel().GainControlsVisible());
    QCOMPARE(Child<QLineEdit>(form, "RedNumEdit")->text(), QString("40"));
    QCOMPARE(Child<QLineEdit>(form, "BlueNumEdit")->text(), QString("22"));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text(), QString("LOBBY-2         "));

    QList<QByteArray> heard;
    for (const TraceLine& line : sim.Frames("RX", mark)) heard << line.bytes;
    QCOMPARE(WithoutRepeats(WithCommand(heard, kCmdRead)), ReadCameraRequests(1));
    QVERIFY2(sim.Trace().size() > 0 && !sim.Diagnostics().contains("dropped"),
             qPrintable(sim.Diagnostics()));

    // The two day/night delays come through the image delay dialog's Read.
    bool readPressed = false;
    WhileModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<TImageDelayForm*>(modal);
      if (dialog == nullptr) return false;
      if (!readPressed) {
        dialog->ReadImageDelay->click();
        readPressed = true;
        return false;
      }
      if (dialog->DialogStatus() != "Finsh") return false;
      dialog->CloseButton->click();
      return true;
    });
    const int delayMark = sim.Mark();
    Child<QAction>(form, "ImageTime")->trigger();
    QVERIFY(readPressed);
    QCOMPARE(form->ImageDelayForm->ColToWbComboBox->currentIndex(), 2);
    QCOMPARE(form->ImageDelayForm->WbToColComboBox->currentIndex(), 3);
    QCOMPARE(form->ImageDelayForm->ColToWbComboBox->currentText(), QString("15 Second"));
    QCOMPARE(form->ImageDelayForm->WbToColComboBox->currentText(), QString("20 Second"));
    heard.clear();
    for (const TraceLine& line : sim.Frames("RX", delayMark)) heard << line.bytes;
    QCOMPARE(WithoutRepeats(WithCommand(heard, kCmdRead)),
             (QList<QByteArray>{ReadRequest(1, kItemColToWb, 0), ReadRequest(1, kItemWbToCol, 0)}));
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(ReadCameraTest)
#include "read_camera_test.moc"
