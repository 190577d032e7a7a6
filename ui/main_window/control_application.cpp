#include "ui/main_window/control_application.h"

#include <exception>

#include "ui/widgets/message_box.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowException();
    return false;
  }
}

void TApplication::ShowException() {
  QString text;
  try {
    throw;
  } catch (const std::exception& e) {
    text = QString::fromLocal8Bit(e.what());
  } catch (...) {
    // An error without an exception text still gets its box, with an empty message.
  }
  ShowMessage(text, QApplication::applicationName(), MessageIcon::Error);
}
