#include "ui/dialogs/password_access.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <exception>

#include "ui/dialogs/password_form.h"
#include "ui/dialogs/password_store.h"
#include "ui/widgets/message_box.h"

namespace {

// Shows the dialog modally in `mode`; true when the program must close.
bool RunStartupDialog(const QString& programFolder, QWidget* parent, TPasswordMode mode) {
  try {
    TPasswordForm form(programFolder, parent);
    form.SetPasswordMode(mode);
    form.exec();
    return form.CloseRequested();
  } catch (const std::exception& error) {
    // Start-up goes on, but a start that was never let in must not run.
    ShowMessage(QString::fromLocal8Bit(error.what()), QGuiApplication::applicationDisplayName(),
                MessageIcon::Error, parent);
  } catch (...) {
    ShowMessage(QString(), QGuiApplication::applicationDisplayName(), MessageIcon::Error, parent);
  }
  return true;
}

}  // namespace

bool RunStartupAccessCheck(const QString& programFolder, QWidget* parent) {
  switch (ChooseStartupAccess(PasswordFolderPath(programFolder))) {
    case saSetNew:
      return RunStartupDialog(programFolder, parent, pwSetNew);
    case saEnter:
      return RunStartupDialog(programFolder, parent, pwEnter);
    case saFileError:
      break;
  }
  ShowError(QStringLiteral("There is someone file error."), parent);
  return true;
}

void RunChangePassword(const QString& programFolder, QWidget* parent) {
  TPasswordForm form(programFolder, parent);
  form.SetPasswordMode(pwChange);
  form.exec();
}

void PasswordTimeTick(bool closeRequested, QWidget* mainWindow, QTimer* passwordTime) {
  if (closeRequested) {
    if (mainWindow != nullptr) mainWindow->close();
    return;
  }
  if (passwordTime != nullptr) passwordTime->stop();
}
