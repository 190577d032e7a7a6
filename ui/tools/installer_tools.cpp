#include "ui/tools/installer_tools.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

#include "ui/main_window/control_form.h"
#include "ui/tools/compare_camera_dialog.h"
#include "ui/tools/find_cameras_dialog.h"
#include "ui/tools/line_backup_dialog.h"
#include "ui/tools/line_monitor_window.h"
#include "ui/tools/line_restore_dialog.h"
#include "ui/tools/multi_write_dialog.h"
#include "ui/widgets/help_key.h"

namespace {

void AddItem(QMenu* menu, const char* name, const QString& caption, int context,
             InstallerTools* tools, void (InstallerTools::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  SetHelpContext(action, context);
  QObject::connect(action, &QAction::triggered, tools, [tools, handler] { (tools->*handler)(); });
}

void RunTool(QDialog* dialog) {
  dialog->exec();
  // Still open: the program is ending and has told its event loops to quit.
  // The run ends now, while the link it works on is still there.
  if (dialog->isVisible()) delete dialog;
}

}  // namespace

InstallerTools::InstallerTools(TForm1& form, QMenu* tools) : QObject(&form), form_(form) {
  setObjectName(QStringLiteral("InstallerTools"));
  tools->addSeparator();
  AddItem(tools, "FindCameras", QStringLiteral("Find Cameras..."), kFindCamerasContext, this,
          &InstallerTools::FindCamerasClick);
  AddItem(tools, "MultiWrite", QStringLiteral("Write to Several Cameras..."), kMultiWriteContext,
          this, &InstallerTools::MultiWriteClick);
  AddItem(tools, "LineMonitor", QStringLiteral("Line Monitor"), kLineMonitorContext, this,
          &InstallerTools::LineMonitorClick);
  tools->addSeparator();
  AddItem(tools, "LineBackup", QStringLiteral("Back Up Line..."), kLineBackupContext, this,
          &InstallerTools::LineBackupClick);
  AddItem(tools, "LineRestore", QStringLiteral("Restore Line..."), kLineRestoreContext, this,
          &InstallerTools::LineRestoreClick);
  AddItem(tools, "CompareCamera", QStringLiteral("Compare with Camera..."), kCompareCameraContext,
          this, &InstallerTools::CompareCameraClick);
}

void InstallerTools::FindCamerasClick() {
  if (!findCameras_) findCameras_ = new FindCamerasDialog(form_, found_, &form_);
  RunTool(findCameras_);
}

void InstallerTools::MultiWriteClick() {
  if (!multiWrite_) multiWrite_ = new MultiWriteDialog(form_, found_, &form_);
  multiWrite_->SetFound(found_);
  RunTool(multiWrite_);
}

void InstallerTools::LineMonitorClick() {
  if (!monitor_) monitor_ = new LineMonitorWindow(form_.LinePort(), &form_);
  monitor_->show();
  monitor_->raise();
  monitor_->activateWindow();
}

void InstallerTools::LineBackupClick() {
  if (!backup_) backup_ = new LineBackupDialog(form_, found_, &form_);
  backup_->SetFound(found_);
  RunTool(backup_);
}

void InstallerTools::LineRestoreClick() {
  if (!restore_) restore_ = new LineRestoreDialog(form_, &form_);
  RunTool(restore_);
}

void InstallerTools::CompareCameraClick() {
  if (!compare_) compare_ = new CompareCameraDialog(form_, &form_);
  RunTool(compare_);
}

InstallerTools* AddInstallerTools(TForm1& form, QMenu* tools) {
  return new InstallerTools(form, tools);
}
