// The application object: an exception that escapes an event handler is shown
// in one standard error box and the program goes on with the next event.
#pragma once

#include <QApplication>

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the text of the exception being handled (inside a catch block) in
  // the standard error box; an unknown exception shows an empty text.
  static void ShowException();
};
