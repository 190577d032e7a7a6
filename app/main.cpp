// ZELTA: application, main window, keyboard and image delay windows, message loop.
#include <QDir>
#include <QFileInfo>
#include <memory>

#include "ui/control_application.h"
#include "ui/control_form.h"
#include "ui/window_place.h"

namespace {

// The folder of the running program, where "Port.dat", the password files and
// the serial device links live; not the working folder.
QString ProgramFolder() {
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  const QString target = self.symLinkTarget();
  if (!target.isEmpty()) return QFileInfo(target).absolutePath();
  return QCoreApplication::applicationDirPath();
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  TApplication::setApplicationName(QStringLiteral("ZELTA"));
  application.setQuitOnLastWindowClosed(false);

  std::unique_ptr<TForm1> form;
  try {
    form = std::make_unique<TForm1>(ProgramFolder());
    form->CreateKeyBoardAndImageDelayForms();
  } catch (...) {
    // A failed start is shown and ends the program without the message loop.
    TApplication::ShowException();
    return 1;
  }
  QObject::connect(form.get(), &TForm1::Closed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  CentreOnScreen(form.get());
  form->show();
  return TApplication::exec();
}
