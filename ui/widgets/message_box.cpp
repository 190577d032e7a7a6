#include "ui/widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageInterceptor& Interceptor() {
  static MessageInterceptor interceptor;
  return interceptor;
}

bool& WarningAnswer() {
  static bool yes = false;
  return yes;
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void ShowMessage(const QString& text, const QString& caption, MessageIcon icon, QWidget* parent) {
  if (Interceptor()) {
    Interceptor()(text, caption, icon);
    return;
  }
  QMessageBox box(parent ? parent : QApplication::activeWindow());
  box.setIcon(BoxIcon(icon));
  box.setWindowTitle(caption);
  box.setText(text);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void ShowError(const QString& text, QWidget* parent) {
  ShowMessage(text, QStringLiteral("ERROR"), MessageIcon::Error, parent);
}

void ShowNotice(const QString& text, QWidget* parent) {
  ShowMessage(text, QStringLiteral("INFORMATION"), MessageIcon::Information, parent);
}

void ShowSaveError(const QString& path, const std::string& reason, QWidget* parent) {
  ShowError(QStringLiteral("Can not save the file \"%1\".\n%2")
                .arg(path, QString::fromLocal8Bit(reason.c_str())),
            parent);
}

bool AskWarning(const QString& text, QWidget* parent) {
  const QString caption = QStringLiteral("WARNING");
  if (Interceptor()) {
    Interceptor()(text, caption, MessageIcon::Warning);
    return WarningAnswer();
  }
  QMessageBox box(parent ? parent : QApplication::activeWindow());
  box.setIcon(QMessageBox::Warning);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void SetWarningAnswer(bool yes) {
  WarningAnswer() = yes;
}

void SetMessageInterceptor(MessageInterceptor interceptor) {
  Interceptor() = std::move(interceptor);
}
