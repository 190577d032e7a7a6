#include "ui/settings_file_commands.h"

QString ChooseSettingsFileToSave(QWidget*, const QString&) {
  return {};
}

QString ChooseSettingsFileToOpen(QWidget*, const QString&) {
  return {};
}

QString SaveSettingsFileAs(QWidget*, const CameraPanel&, const CameraLinkState&, bool,
                           const QString& caption, const SettingsFileChooser&) {
  return caption;
}

QString OpenSettingsFile(QWidget*, CameraPanel&, CameraLinkState&, bool, const QString& caption,
                         const SettingsFileChooser&) {
  return caption;
}
