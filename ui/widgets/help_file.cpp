#include "ui/widgets/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ui/widgets/help_viewer.h"

namespace {

QString& HelpPathOverride() {
  static QString path;
  return path;
}

const QString kHelpName = QStringLiteral("ZELTAHELP.HLP");

// The name as the Contens command gives it; the file beside the program is
// "ZELTAHELP.HLP", and the name was meant to find it whatever the case.
const QString kContentsName = QStringLiteral("ZELTAHELP.hlp");

// The file of that name in `folder`, matched without regard to case, an
// exact match first; empty when there is none.
QString FindCaseInsensitive(const QDir& folder, const QString& name) {
  if (folder.exists(name)) return folder.absoluteFilePath(name);
  const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return folder.absoluteFilePath(entry);
  }
  return QString();
}

}  // namespace

QString HelpFilePathFor(const QString& programFolder) {
  const QDir folder(programFolder);
  const QString beside = folder.absoluteFilePath(kHelpName);
  if (QFileInfo::exists(beside)) return beside;
  const QString installed = QDir::cleanPath(
      folder.absoluteFilePath(QString::fromLatin1(ZELTA_DATA_FROM_PROGRAM "/") + kHelpName));
  if (QFileInfo::exists(installed)) return installed;
  // Neither: the viewer names the file it looked for first.
  return beside;
}

QString HelpFilePath() {
  if (!HelpPathOverride().isEmpty()) return HelpPathOverride();
  return HelpFilePathFor(QCoreApplication::applicationDirPath());
}

void SetHelpFilePath(const QString& path) {
  HelpPathOverride() = path;
}

void Help1Click(QWidget* owner) {
  const QString path = FindCaseInsensitive(QDir::current(), kContentsName);
  if (!path.isEmpty()) ShowHelpContents(path, owner);
}
