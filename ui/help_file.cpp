#include "ui/help_file.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

QString HelpFilePath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/ZELTAHELP.HLP");
}
void SetHelpFilePath(const QString&) {}
void Help1Click() {}
void SetDocumentOpener(DocumentOpener) {}
