// ZELTA: application, main window, keyboard and image delay windows, message loop.
#include <memory>

#include "ui/main_window/control_application.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/program_files.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

// Where "Port.dat", the password files and the serial device links live;
// empty when the folder is refused, after saying why.
QString ProgramFilesFolder() {
#ifdef ZELTA_PER_USER_FILES
  const QString folder = PerUserFolderPath();
  QString problem;
  // A folder that cannot be made shows as the missing password files.
  if (!PreparePerUserFolder(folder, &problem) && !problem.isEmpty()) {
    ShowError(problem);
    return {};
  }
  return folder;
#else
  return ProgramFolderPath();
#endif
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  TApplication::setApplicationName(QStringLiteral("ZELTA"));
  application.setQuitOnLastWindowClosed(false);

  const QString folder = ProgramFilesFolder();
  if (folder.isEmpty()) return 1;
  std::unique_ptr<TForm1> form;
  try {
    form = std::make_unique<TForm1>(folder);
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
