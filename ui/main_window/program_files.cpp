#include "ui/main_window/program_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/device_names.h"
#include "settings/private_folder.h"
#include "ui/dialogs/password_store.h"

QString ProgramFolderPath() {
  return QFile::decodeName(ExecutableFolder().c_str());
}

QString PerUserFolderPath() {
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  const QString base = !config.isEmpty() && QDir::isAbsolutePath(config)
                           ? config
                           : QDir::homePath() + QStringLiteral("/.config");
  return QDir::cleanPath(base + QStringLiteral("/zelta"));
}

bool PreparePerUserFolder(const QString& folder, QString* problem) {
  const std::string refused = MakeFolderPrivate(QFile::encodeName(folder).toStdString());
  if (!refused.empty()) {
    if (problem) *problem = QFile::decodeName(refused.c_str());
    return false;
  }
  const QFileInfo info(folder);
  if (!info.isDir()) {
    if (!QDir().mkpath(info.absolutePath())) return false;
    if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
      return false;
    }
  }
  const QDir dir(folder);
  if (dir.exists(QString::fromLatin1(kPasswordStoreName)) ||
      dir.exists(QString::fromLatin1(kNewPasswordMarkerName))) {
    return true;
  }
  return CreateNewPasswordMarker(QFile::encodeName(folder).toStdString());
}
