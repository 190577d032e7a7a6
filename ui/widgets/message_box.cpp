#include "ui/widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageInterceptor& Interceptor() {
  static MessageInterceptor interceptor;
  return interceptor;
}

QuestionInterceptor& QuestionAnswerer() {
  static QuestionInterceptor interceptor;
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
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
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

bool AskQuestion(const QString& text, QWidget* parent) {
  if (QuestionAnswerer()) return QuestionAnswerer()(text);
  QMessageBox box(parent ? parent : QApplication::activeWindow());
  box.setIcon(QMessageBox::Question);
  box.setWindowTitle(QStringLiteral("QUESTION"));
  box.setText(text);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void SetQuestionInterceptor(QuestionInterceptor interceptor) {
  QuestionAnswerer() = std::move(interceptor);
}
