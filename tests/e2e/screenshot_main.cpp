// zelta-screenshot: the picture of the README. Builds the main window over a
// program folder exactly as the program does, lets the stored password in as
// the window tests do, presses Read Camera against whatever camera answers on
// the folder's "Com1", waits for "Finish" and saves the window as a PNG.
// With a list of addresses it instead runs Write to Several Cameras on them
// and saves that dialog with its report. A test helper: it is not installed
// and is no part of the program.
//
//   zelta-screenshot PROGRAM_FOLDER PASSWORD OUTPUT.png [ADDRESSES]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <memory>

#include "tests/e2e/support/e2e_fixture.h"
#include "tests/ui/support/password_modal.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/password_form.h"
#include "ui/main_window/control_application.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/multi_write_dialog.h"

namespace {

// Runs Write to Several Cameras over `addresses` and returns its dialog once
// the run has ended, or null when it did not end in time.
QWidget* WriteSeveral(TForm1& form, const QString& addresses) {
  auto* dialog = new MultiWriteDialog(form, {}, &form);
  dialog->show();
  Child<QLineEdit>(dialog, "AddressEdit")->setText(addresses);
  auto* start = Child<QPushButton>(dialog, "StartButton");
  start->click();
  QElapsedTimer waited;
  waited.start();
  while (!start->isEnabled() && waited.elapsed() < 60000) QTest::qWait(50);
  return start->isEnabled() ? dialog : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  TApplication::setApplicationName(QStringLiteral("ZELTA"));
  application.setQuitOnLastWindowClosed(false);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 4 && args.size() != 5) {
    std::fprintf(stderr,
                 "usage: zelta-screenshot PROGRAM_FOLDER PASSWORD OUTPUT.png [ADDRESSES]\n");
    return 2;
  }
  const QString folder = args[1];
  const QString password = args[2];
  const QString output = args[3];

  AnswerPasswordForm([password](TPasswordForm* form) {
    form->EnterPasswordEdit->setText(password);
    form->OkButtonClick();
  });
  auto form = std::make_unique<TForm1>(folder);
  form->CreateKeyBoardAndImageDelayForms();
  form->show();
  if (!WaitForLamp(*form, LampColour::Lime)) {
    std::fprintf(stderr, "zelta-screenshot: no camera answered on %s/Com1\n", qPrintable(folder));
    return 1;
  }
  if (args.size() == 5) {
    QWidget* dialog = WriteSeveral(*form, args[4]);
    if (!dialog) {
      std::fprintf(stderr, "zelta-screenshot: Write to Several Cameras did not end\n");
      return 1;
    }
    QTest::qWait(200);
    return dialog->grab().save(output, "PNG") ? 0 : 1;
  }
  Child<QPushButton>(form, "ReadButton")->click();
  if (!WaitForStatus(*form, QStringLiteral("Finish"), kTransferWaitMs)) {
    std::fprintf(stderr, "zelta-screenshot: Read Camera did not finish (%s)\n",
                 qPrintable(form->StatusText(3)));
    return 1;
  }
  QTest::qWait(200);  // let the last repaint land
  if (!form->grab().save(output, "PNG")) {
    std::fprintf(stderr, "zelta-screenshot: cannot write %s\n", qPrintable(output));
    return 1;
  }
  return 0;
}
