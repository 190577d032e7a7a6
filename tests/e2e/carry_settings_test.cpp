// Carrying settings from one camera to another: Read Camera from camera A,
// File > Save As, then in a fresh start beside camera B File > Open and Write
// Camera. Camera B ends with camera A's settings. The file dialogs are the
// real ones, answered as a user would.
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"

namespace {

// Answers the next file dialog with `path` as a user does: types it into the
// file name box and presses Enter. `seen` tells whether a dialog came.
void AnswerFileDialog(const QString& path, bool& seen) {
  WhileModal([path, &seen](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
    if (name == nullptr) return false;
    seen = true;
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
    return !dialog->isVisible();
  });
}

// Runs Read Camera or Write Camera to its end.
bool RunTransfer(TForm1& form, QPushButton* button, CamSim& sim) {
  button->click();
  const bool finished = WaitForStatus(form, "Finish", kTransferWaitMs);
  if (!finished) qWarning("%s\n%s", qPrintable(Describe(form)), qPrintable(sim.Diagnostics()));
  return finished;
}

}  // namespace

class CarrySettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void cameraBEndsWithTheSettingsOfCameraA() {
    MessageLog messages;
    QTemporaryDir files;
    const QString path = files.filePath("LOBBY.TXT");
    const CameraValues cameraA = LobbyCamera();

    {
      TestProgramFolder folder;
      CamSim simA(folder, SimOptionsFor(cameraA));
      QVERIFY2(simA.Ready(), qPrintable(simA.Diagnostics()));
      auto form = StartZelta(folder);
      QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(simA.Diagnostics()));
      QVERIFY(RunTransfer(*form, Child<QPushButton>(form, "ReadButton"), simA));
      QCOMPARE(PanelValues(*form).Text(), cameraA.Text());
      bool seen = false;
      AnswerFileDialog(path, seen);
      Child<QAction>(form, "SaveAs1")->trigger();
      QVERIFY(seen);
      QVERIFY(QFile::exists(path));
      QVERIFY2(form->windowTitle().contains("LOBBY.TXT"), qPrintable(form->windowTitle()));
      form->close();
    }

    TestProgramFolder folder;
    CamSim simB(folder, {});
    QVERIFY2(simB.Ready(), qPrintable(simB.Diagnostics()));
    auto form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(simB.Diagnostics()));
    QVERIFY(PanelValues(*form).Text() != cameraA.Text());
    bool seen = false;
    AnswerFileDialog(path, seen);
    Child<QAction>(form, "Open1")->trigger();
    QVERIFY(seen);
    QCOMPARE(PanelValues(*form).Text(), cameraA.Text());
    QVERIFY(RunTransfer(*form, Child<QPushButton>(form, "WriteButton"), simB));
    form->close();
    form.reset();

    // What camera B holds, read by yet another start.
    form = StartZelta(folder);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(simB.Diagnostics()));
    QVERIFY(PanelValues(*form).Text() != cameraA.Text());
    QVERIFY(RunTransfer(*form, Child<QPushButton>(form, "ReadButton"), simB));
    QCOMPARE(PanelValues(*form).Text(), cameraA.Text());
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(CarrySettingsTest)
#include "carry_settings_test.moc"
