#include "ui/password_access.h"

#include <QTimer>
#include <QWidget>

bool RunStartupAccessCheck(const QString& programFolder, QWidget* parent) {
  Q_UNUSED(programFolder);
  Q_UNUSED(parent);
  return false;
}

void RunChangePassword(const QString& programFolder, QWidget* parent) {
  Q_UNUSED(programFolder);
  Q_UNUSED(parent);
}

void PasswordTimeTick(bool closeRequested, QWidget* mainWindow, QTimer* passwordTime) {
  if (closeRequested) {
    if (mainWindow != nullptr) mainWindow->close();
    return;
  }
  if (passwordTime != nullptr) passwordTime->stop();
}
