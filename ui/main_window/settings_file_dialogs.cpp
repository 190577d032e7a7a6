#include "ui/main_window/settings_file_dialogs.h"

#include <QFileDialog>

namespace {

const char* const kFilter = "TXT FILE(*.TXT)";
const char* const kDefaultSuffix = "TXT";

std::unique_ptr<QFileDialog> MakeDialog(QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setDefaultSuffix(kDefaultSuffix);
  dialog->setNameFilter(kFilter);
  dialog->setSizeGripEnabled(true);
  return dialog;
}

QString Choose(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

}  // namespace

std::unique_ptr<QFileDialog> MakeSettingsSaveDialog(QWidget* parent, const QString& proposedName) {
  auto dialog = MakeDialog(parent);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog->selectFile(proposedName);
  return dialog;
}

std::unique_ptr<QFileDialog> MakeSettingsOpenDialog(QWidget* parent) {
  auto dialog = MakeDialog(parent);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  return dialog;
}

QString ChooseSettingsFileToSave(QWidget* parent, const QString& proposedName) {
  return Choose(*MakeSettingsSaveDialog(parent, proposedName));
}

QString ChooseSettingsFileToOpen(QWidget* parent, const QString&) {
  return Choose(*MakeSettingsOpenDialog(parent));
}
