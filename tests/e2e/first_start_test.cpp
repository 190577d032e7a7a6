// The first start of ZELTA beside a camera: a new password is set, "Port.dat"
// is written with the defaults, the first poll goes to address 1 with the
// Pelco P code and its answer turns the lamp green. The next start asks for
// the password just set.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "tests/e2e/support/camsim.h"
#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/password_modal.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/password_form.h"
#include "ui/dialogs/password_store.h"
#include "ui/main_window/control_form.h"

namespace {

const char kNewPassword[] = "GATE42";

// COM1, 4800 baud, Pelco P.
const QByteArray kDefaultPortDat("Port&0\r\nBaud Rate&2\r\nProtocol&0");

}  // namespace

class FirstStartTest : public QObject {
  Q_OBJECT

 private slots:
  void aNewPasswordThenTheCameraAnswersTheFirstPoll() {
    TestProgramFolder folder;
    MessageLog messages;
    folder.Write(kNewPasswordMarkerName, {});  // as a fresh build leaves it
    CamSim sim(folder, {});
    QVERIFY2(sim.Ready(), qPrintable(sim.Diagnostics()));

    TPasswordMode mode = pwEnter;
    const auto answered = AnswerPasswordForm([&mode](TPasswordForm* dialog) {
      mode = dialog->PasswordMode();
      QTest::keyClicks(dialog->NewPasswordEdit, kNewPassword);
      QTest::keyClicks(dialog->ConfirmPasswordEdit, kNewPassword);
      dialog->OkButton->click();
    });
    QElapsedTimer started;
    started.start();
    auto form = std::make_unique<TForm1>(folder.Path());
    form->CreateKeyBoardAndImageDelayForms();
    form->show();
    QCOMPARE(*answered, 1);
    QCOMPARE(mode, pwSetNew);
    QCOMPARE(folder.Read(kPasswordStoreName), QByteArray::fromStdString(EncodePassword(u"GATE42")));
    QVERIFY(!folder.Exists(kNewPasswordMarkerName));
    QCOMPARE(folder.Read("Port.dat"), kDefaultPortDat);
    QCOMPARE(form->StatusText(0), QString("Com Port : COM1"));
    QCOMPARE(form->StatusText(1), QString("Baud Rate : 4800"));
    QCOMPARE(form->StatusText(2), QString("Protocol Type : PELCO P"));

    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    qInfo("lamp green %lld ms after the start", static_cast<long long>(started.elapsed()));
    QVERIFY(Child<QPushButton>(form, "ReadButton")->isEnabled());
    QVERIFY(Child<QPushButton>(form, "WriteButton")->isEnabled());
    // The start-up poll itself was answered: green within the first watchdog
    // interval, not after repeats.
    const QList<TraceLine> trace = sim.Trace();
    QList<TraceLine> frames;
    for (const TraceLine& line : trace) {
      if (!line.direction.isEmpty()) frames << line;
    }
    QVERIFY2(frames.size() >= 2, qPrintable(sim.Diagnostics()));
    QCOMPARE(frames[0].direction, QString("RX"));
    QCOMPARE(HexText(frames[0].bytes), HexText(PollRequest(1, kProtocolPelcoP)));
    QCOMPARE(frames[0].meaning, QString("poll addr 1 proto PELCO P"));
    QCOMPARE(frames[1].direction, QString("TX"));
    QCOMPARE(frames[1].meaning, QString("poll reply addr 1"));
    QCOMPARE(messages.Texts(), QStringList());

    form->close();
    form.reset();
    QCOMPARE(folder.Read("Port.dat"), kDefaultPortDat);

    // The next start asks for the password that was set.
    const auto entered = AnswerPasswordForm([&mode](TPasswordForm* dialog) {
      mode = dialog->PasswordMode();
      QTest::keyClicks(dialog->EnterPasswordEdit, kNewPassword);
      dialog->OkButton->click();
    });
    form = std::make_unique<TForm1>(folder.Path());
    form->CreateKeyBoardAndImageDelayForms();
    QCOMPARE(*entered, 1);
    QCOMPARE(mode, pwEnter);
    QVERIFY(!form->CloseRequested);
    QVERIFY2(WaitForLamp(*form, LampColour::Lime), qPrintable(sim.Diagnostics()));
    QCOMPARE(messages.Texts(), QStringList());
  }
};

ZELTA_E2E_MAIN(FirstStartTest)
#include "first_start_test.moc"
