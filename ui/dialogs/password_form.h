// The password dialog in its three forms: set a new password (first start),
// enter the password (every other start) and change it (Tools menu).
#pragma once

#include <QDialog>
#include <QString>

#include "ui/dialogs/password_store.h"

class QEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

constexpr int kPasswordHelpContext = 28;

// The program folder as the store functions take it.
std::filesystem::path PasswordFolderPath(const QString& programFolder);

class TPasswordForm : public QDialog {
  Q_OBJECT

 public:
  // `programFolder` holds "data.dat" and "newdata.dat".
  explicit TPasswordForm(const QString& programFolder, QWidget* parent = nullptr);

  // Sets the mode and rearranges the design layout for it; call before exec().
  void SetPasswordMode(TPasswordMode mode);
  TPasswordMode PasswordMode() const { return passwordMode_; }
  // OK has succeeded.
  bool Accepted() const { return accepted_; }
  // Closing the dialog asked the program to end (a start that was not let in).
  bool CloseRequested() const { return closeRequested_; }

  void OkButtonClick();
  void CancelButtonClick();
  // Writes the new password to "data.dat"; false when it could not be written.
  bool StorePassword();

  QLabel* EnterPasswordLabel;
  QLineEdit* EnterPasswordEdit;
  QLabel* NewPasswordLabel;
  QLineEdit* NewPasswordEdit;
  QLabel* ConfirmPasswordLabel;
  QLineEdit* ConfirmPasswordEdit;
  QPushButton* OkButton;
  QPushButton* CancelButton;
  QLineEdit* GlobalsPasswordEdit;  // never shown: holds the preset password

 protected:
  // Every way of closing ends here (OK, CANCEL, Escape, the close box).
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormClose();
  QLineEdit* MakePasswordEdit(const QString& name, int left, int top);
  QLabel* MakeLabel(const QString& name, const QString& text, int left, int top);
  QPushButton* MakeButton(const QString& name, const QString& text, int left, int top);
  void ShowUnwritable(const char* fileName);

  std::filesystem::path folder_;
  TPasswordMode passwordMode_ = pwEnter;
  bool accepted_ = false;
  bool closeRequested_ = false;
};
