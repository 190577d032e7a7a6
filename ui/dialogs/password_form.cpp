#include "ui/dialogs/password_form.h"

#include <QFile>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

constexpr int kClientWidth = 250;
constexpr int kEditWidth = 121;
constexpr int kEditHeight = 24;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

const char kPresetPassword[] = "MAVROQ";
const char kWrongPasswordText[] = "The password is error.";
const char kMismatchText[] = "New Pssword is not equal to Confirm Password.";
const char kEmptyText[] = "Must set the password.";
const char kUnstorableText[] = "The password can not use this character.";
const char kInformationCaption[] = "INFORMATION";

}  // namespace

std::filesystem::path PasswordFolderPath(const QString& programFolder) {
  return std::filesystem::path(QFile::encodeName(programFolder).toStdString());
}

TPasswordForm::TPasswordForm(const QString& programFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      folder_(PasswordFolderPath(programFolder)) {
  setObjectName("PasswordForm");
  setWindowTitle("Password Form");
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  setFont(font);
  // The masked edits show every character as "*".
  setStyleSheet("QLineEdit { lineedit-password-character: 42; }");

  EnterPasswordLabel = MakeLabel("EnterPasswordLabel", "Enter Password:", 24, 8);
  EnterPasswordEdit = MakePasswordEdit("EnterPasswordEdit", 24, 24);
  NewPasswordLabel = MakeLabel("NewPasswordLabel", "New Password", 24, 56);
  NewPasswordEdit = MakePasswordEdit("NewPasswordEdit", 24, 72);
  ConfirmPasswordLabel = MakeLabel("ConfirmPasswordLabel", "Confirm Password", 24, 104);
  ConfirmPasswordEdit = MakePasswordEdit("ConfirmPasswordEdit", 24, 120);
  OkButton = MakeButton("OkButton", "OK", 160, 24);
  CancelButton = MakeButton("CancelButton", "CANCEL", 160, 72);

  GlobalsPasswordEdit = new QLineEdit(kPresetPassword, this);
  GlobalsPasswordEdit->setObjectName("GlobalsPasswordEdit");
  GlobalsPasswordEdit->setGeometry(160, 120, 57, 21);
  GlobalsPasswordEdit->setVisible(false);

  setTabOrder(EnterPasswordEdit, OkButton);
  setTabOrder(OkButton, CancelButton);
  setTabOrder(CancelButton, NewPasswordEdit);
  setTabOrder(NewPasswordEdit, GlobalsPasswordEdit);
  setTabOrder(GlobalsPasswordEdit, ConfirmPasswordEdit);

  connect(OkButton, &QPushButton::clicked, this, &TPasswordForm::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &TPasswordForm::CancelButtonClick);

  SetPasswordMode(pwEnter);
}

QLabel* TPasswordForm::MakeLabel(const QString& name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  QFont bold = font();
  bold.setBold(true);
  label->setFont(bold);
  label->adjustSize();
  label->move(left, top);
  label->resize(label->width(), 13);
  return label;
}

QLineEdit* TPasswordForm::MakePasswordEdit(const QString& name, int left, int top) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setGeometry(left, top, kEditWidth, kEditHeight);
  edit->setMaxLength(static_cast<int>(kPasswordMaxLength));
  edit->setEchoMode(QLineEdit::Password);
  SetHelpContext(edit, kPasswordHelpContext);
  edit->installEventFilter(this);
  return edit;
}

QPushButton* TPasswordForm::MakeButton(const QString& name, const QString& text, int left,
                                       int top) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(name);
  QFont bold = font();
  bold.setBold(true);
  button->setFont(bold);
  button->setGeometry(left, top, kButtonWidth, kButtonHeight);
  SetHelpContext(button, kPasswordHelpContext);
  return button;
}

void TPasswordForm::SetPasswordMode(TPasswordMode mode) {
  passwordMode_ = mode;
  const bool enterShown = mode != pwSetNew;
  const bool confirmShown = mode != pwEnter;
  EnterPasswordLabel->setVisible(enterShown);
  EnterPasswordEdit->setVisible(enterShown);
  NewPasswordLabel->setVisible(confirmShown);
  NewPasswordEdit->setVisible(confirmShown);
  ConfirmPasswordLabel->setVisible(confirmShown);
  ConfirmPasswordEdit->setVisible(confirmShown);

  // Start from the design layout, then move what the mode moves.
  EnterPasswordEdit->setGeometry(24, 24, kEditWidth, kEditHeight);
  NewPasswordLabel->move(24, 56);
  NewPasswordEdit->move(24, 72);
  ConfirmPasswordLabel->move(24, 104);
  ConfirmPasswordEdit->move(24, 120);
  OkButton->move(160, 24);
  CancelButton->move(160, 72);
  int clientHeight = 155;
  switch (mode) {
    case pwSetNew:
      NewPasswordLabel->move(24, 8);
      NewPasswordEdit->move(24, 24);
      ConfirmPasswordLabel->move(24, 56);
      ConfirmPasswordEdit->move(24, 72);
      clientHeight = 105;
      break;
    case pwEnter:
      EnterPasswordEdit->resize(170, kEditHeight);
      OkButton->move(24, 56);
      CancelButton->move(24 + 100, 56);
      clientHeight = 85;
      break;
    case pwChange:
      break;
  }
  setFixedSize(kClientWidth, clientHeight);
}

bool TPasswordForm::StorePassword() {
  return WriteStoredPassword(folder_, NewPasswordEdit->text().toStdU16String());
}

void TPasswordForm::ShowUnwritable(const char* fileName) {
  ShowError(QString("Can not write the file %1.").arg(fileName), this);
}

void TPasswordForm::OkButtonClick() {
  std::optional<std::u16string> stored;
  if (passwordMode_ != pwSetNew) stored = ReadStoredPassword(folder_);  // afresh at every OK
  const TPasswordOkOutcome outcome = CheckPasswordOk(
      passwordMode_, EnterPasswordEdit->text().toStdU16String(),
      NewPasswordEdit->text().toStdU16String(), ConfirmPasswordEdit->text().toStdU16String(),
      stored, GlobalsPasswordEdit->text().toStdU16String());
  switch (outcome) {
    case poWrongPassword:
      ShowError(kWrongPasswordText, this);
      return;
    case poMismatch:
      ShowError(kMismatchText, this);
      return;
    case poEmpty:
      // A plain notice, without an icon.
      ShowMessage(kEmptyText, kInformationCaption, MessageIcon::None, this);
      return;
    case poUnstorable:
      ShowError(kUnstorableText, this);
      return;
    case poStore:
      if (!StorePassword()) {
        ShowUnwritable(kPasswordStoreName);
        return;
      }
      break;
    case poAccept:
      break;
  }
  accepted_ = true;
  accept();
}

void TPasswordForm::CancelButtonClick() {
  reject();
}

void TPasswordForm::FormClose() {
  if (accepted_) return;
  if (passwordMode_ != pwChange) closeRequested_ = true;
  if (passwordMode_ == pwSetNew) {
    // Start-up deleted the marker; put it back so the next start asks again.
    if (!CreateNewPasswordMarker(folder_)) ShowUnwritable(kNewPasswordMarkerName);
  }
}

void TPasswordForm::done(int result) {
  FormClose();
  QDialog::done(result);
}

bool TPasswordForm::eventFilter(QObject* watched, QEvent* event) {
  const bool isEdit =
      watched == EnterPasswordEdit || watched == NewPasswordEdit || watched == ConfirmPasswordEdit;
  if (isEdit && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      OkButtonClick();
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      CancelButtonClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TPasswordForm::keyPressEvent(QKeyEvent* event) {
  // Escape cancels only from the edits (above); elsewhere it does nothing.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TPasswordForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The first visible control in tab order takes the focus.
  if (passwordMode_ == pwSetNew) {
    OkButton->setFocus();
  } else {
    EnterPasswordEdit->setFocus();
  }
  CentreOnScreen(this);
}
