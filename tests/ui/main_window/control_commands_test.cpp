// The main window's commands that open the other windows: the on-screen
// keyboard, the image delay dialog and the change of password.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "link/camera_link_state.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/password_modal.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/dialogs/key_board_form.h"
#include "ui/dialogs/password_form.h"
#include "ui/main_window/control_form.h"

class ControlCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void keyboardAndImageDelayWindowsLiveFromTheStart() {
    StartedWindow started;
    auto& form = started.form;
    QVERIFY(form->KeyBoardForm);
    QVERIFY(form->ImageDelayForm);
    QVERIFY(!form->KeyBoardForm->isVisible());
    QVERIFY(!form->ImageDelayForm->isVisible());
    QVERIFY(form->KeyBoardForm->isWindow());
  }

  void keyboardButtonShowsTheKeyboard() {
    StartedWindow started;
    auto& form = started.form;
    form->show();
    Child<QToolButton>(form, "KeyboardSpeed")->click();
    QVERIFY(form->KeyBoardForm->isVisible());
  }

  void imageDelayTimeOpensTheDialogWithTheCodes() {
    StartedWindow started;
    auto& form = started.form;
    form->show();
    LinkState.ColToWbCode = 3;
    LinkState.WbToColCode = 0;
    form->ImageDelayForm->SetDialogStatus("Finsh");
    bool wasOpen = false;
    QString colToWb;
    QString status = QStringLiteral("unchanged");
    QTimer::singleShot(50, this, [&] {
      TImageDelayForm* dialog = form->ImageDelayForm;
      wasOpen = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
      colToWb = dialog->ColToWbComboBox->currentText();
      status = dialog->StatusInfo->text();
      dialog->CloseButtonClick();
    });
    Child<QAction>(form, "ImageTime")->trigger();
    QVERIFY(wasOpen);
    QCOMPARE(colToWb, QStringLiteral("20 Second"));
    QVERIFY(status.isEmpty());
    QVERIFY(!form->ImageDelayForm->isVisible());
  }

  void changePasswordOpensTheChangeForm() {
    StartedWindow started;
    auto& form = started.form;
    form->show();
    int mode = -1;
    const auto answered = AnswerPasswordForm([&mode](TPasswordForm* dialog) {
      mode = dialog->PasswordMode();
      dialog->CancelButtonClick();
    });
    Child<QAction>(form, "ChangPassword")->trigger();
    QCOMPARE(*answered, 1);
    QCOMPARE(mode, int(pwChange));
    // Cancelling a change never ends the program.
    QVERIFY(!form->CloseRequested);
  }
};

QTEST_MAIN(ControlCommandsTest)
#include "control_commands_test.moc"
