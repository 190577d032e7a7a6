// The access password as the main window uses it: the check made while the
// main window is being built, the Tools > "Chang Password" command and the
// one-shot PasswordTime tick that ends a refused start.
#pragma once

#include <QString>

class QTimer;
class QWidget;

// Constructor step of the main window: if "newdata.dat" in `programFolder`
// can be deleted, asks for a new password; otherwise, if "data.dat" can be
// read, asks for the password; otherwise shows "There is someone file
// error.". Returns true when the main window must close at the first
// PasswordTime tick (refused, cancelled, file error), i.e. the value for
// TForm1::CloseRequested. The dialogs are modal (exec()).
bool RunStartupAccessCheck(const QString& programFolder, QWidget* parent);

// Tools > "Chang Password": the dialog in its change form. Never asks the
// program to close.
void RunChangePassword(const QString& programFolder, QWidget* parent);

// PasswordTime tick: closes `mainWindow` when `closeRequested`, otherwise
// stops `passwordTime` so the check runs once.
void PasswordTimeTick(bool closeRequested, QWidget* mainWindow, QTimer* passwordTime);
