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
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QuestionInterceptor& QuestionAnswerer() {
  static QuestionInterceptor interceptor;
  return interceptor;
}

// A box with Yes and No, No the default: true for Yes.
bool AskYesNo(const QString& text, const QString& caption, MessageIcon icon, QWidget* parent) {
  QMessageBox box(parent ? parent : QApplication::activeWindow());
  box.setIcon(BoxIcon(icon));
  box.setWindowTitle(caption);
  box.setText(text);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
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
  return AskYesNo(text, caption, MessageIcon::Warning, parent);
}

void SetWarningAnswer(bool yes) {
  WarningAnswer() = yes;
}

void SetMessageInterceptor(MessageInterceptor interceptor) {
  Interceptor() = std::move(interceptor);
}

bool AskQuestion(const QString& text, QWidget* parent) {
  if (QuestionAnswerer()) return QuestionAnswerer()(text);
  return AskYesNo(text, QStringLiteral("QUESTION"), MessageIcon::Question, parent);
}

void SetQuestionInterceptor(QuestionInterceptor interceptor) {
  QuestionAnswerer() = std::move(interceptor);
}
