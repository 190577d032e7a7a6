#include "ui/widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageInterceptor& Interceptor() {
  static MessageInterceptor interceptor;
  return interceptor;
}

}  // namespace

void ShowMessage(const QString& text, const QString& caption, MessageIcon icon, QWidget* parent) {
  if (Interceptor()) {
    Interceptor()(text, caption, icon);
    return;
  }
  QMessageBox box(parent ? parent : QApplication::activeWindow());
  switch (icon) {
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
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

void SetMessageInterceptor(MessageInterceptor interceptor) {
  Interceptor() = std::move(interceptor);
}
