#include "ui/message_box.h"

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
  box.setIcon(icon == MessageIcon::Error         ? QMessageBox::Critical
              : icon == MessageIcon::Information ? QMessageBox::Information
                                                 : QMessageBox::Warning);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void SetMessageInterceptor(MessageInterceptor interceptor) {
  Interceptor() = std::move(interceptor);
}
