#include "ui/main_window/settings_file_commands.h"

#include <QFile>
#include <QGuiApplication>

#include "link/camera_link_state.h"
#include "link/camera_panel.h"
#include "settings/settings_caption.h"
#include "settings/settings_file_io.h"
#include "settings/settings_messages.h"
#include "settings/settings_reader.h"
#include "settings/settings_writer.h"
#include "ui/main_window/settings_file_dialogs.h"
#include "ui/widgets/message_box.h"

namespace {

std::string NativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString CaptionOf(const QString& path) {
  return QString::fromStdString(FileCaption(path.toStdString()));
}

void ShowFileError(QWidget* parent, const QString& what, const QString& path,
                   const std::string& reason) {
  ShowError(what.arg(path, QString::fromLocal8Bit(reason.c_str())), parent);
}

void ShowFormatError(QWidget* parent) {
  ShowError(QString::fromLatin1(kSettingsFormatMessage), parent);
}

void ShowLoadError(QWidget* parent, const SettingsFileError& error) {
  if (error.kind == SettingsFileError::Kind::NotInteger) {
    // The framework's standard error box: the application title as its caption.
    ShowMessage(QString::fromLatin1(SettingsCheckMessage(error).c_str()),
                QGuiApplication::applicationDisplayName(), MessageIcon::Error, parent);
  } else {
    ShowFormatError(parent);
  }
}

}  // namespace

QString SaveSettingsFileAs(QWidget* parent, const CameraPanel& panel, const CameraLinkState& state,
                           bool linkBusy, const QString& caption,
                           const SettingsFileChooser& choose) {
  if (linkBusy) return caption;
  const QString proposed = QString::fromStdString(ProposedFileName(caption.toStdString()));
  const QString path =
      choose ? choose(parent, proposed) : ChooseSettingsFileToSave(parent, proposed);
  if (path.isEmpty()) return caption;

  const FileOutcome written = ReplaceFile(NativePath(path), SettingsFileText(panel, state));
  if (!written.ok) {
    ShowSaveError(path, written.reason, parent);
    return caption;
  }
  return CaptionOf(path);
}

QString OpenSettingsFile(QWidget* parent, CameraPanel& panel, CameraLinkState& state, bool linkBusy,
                         const QString& caption, const SettingsFileChooser& choose) {
  if (linkBusy) return caption;
  const QString path =
      choose ? choose(parent, QString()) : ChooseSettingsFileToOpen(parent, QString());
  if (path.isEmpty()) return caption;

  return LoadSettingsFile(parent, path, panel, state) ? CaptionOf(path) : caption;
}

bool LoadSettingsFile(QWidget* parent, const QString& path, CameraPanel& panel,
                      CameraLinkState& state) {
  std::vector<std::string> lines;
  const FileOutcome read = ReadFileLines(NativePath(path), kSettingsFileLines, lines);
  if (!read.ok) {
    if (read.badFormat) {
      ShowFormatError(parent);
    } else {
      ShowFileError(parent, "Can not read the file \"%1\".\n%2", path, read.reason);
    }
    return false;
  }
  // Everything is checked before anything is applied: a bad file leaves the
  // panel, the delay codes and the caption as they were.
  SettingsValues values;
  SettingsFileError error;
  if (!CheckSettingsLines(lines, values, error)) {
    ShowLoadError(parent, error);
    return false;
  }
  ApplySettings(values, panel, state);
  return true;
}
