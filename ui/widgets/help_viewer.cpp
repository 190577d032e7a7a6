#include "ui/widgets/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/widgets/help_file.h"

THelpViewer::THelpViewer(QWidget* parent) : QDialog(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("ZELTA Help"));
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("HelpBrowser"));
  Browser->setOpenLinks(true);
  Browser->setOpenExternalLinks(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);
  resize(560, 480);
}

void THelpViewer::ShowTopic(int context) {
  topic_ = context;
  Load(HelpFilePath());
  Browser->scrollToAnchor(QString::number(context));
}

void THelpViewer::ShowContents(const QString& path) {
  topic_ = 0;
  Load(path);
  Browser->moveCursor(QTextCursor::Start);
  Browser->ensureCursorVisible();
}

void THelpViewer::Load(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    Browser->setHtml(QString::fromUtf8(file.readAll()));
    Browser->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + '/'));
  } else {
    Browser->setPlainText(
        QStringLiteral("The help file %1 cannot be found.").arg(QDir::toNativeSeparators(path)));
  }
  show();
  raise();
  activateWindow();
}

bool THelpViewer::HasTopic(int context) const {
  const QString anchor = QString::number(context);
  const QTextDocument* document = Browser->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().anchorNames().contains(anchor)) return true;
    }
  }
  return false;
}

namespace {

THelpViewer* ViewerOf(QWidget* owner) {
  if (QWidget* modal = QApplication::activeModalWidget()) owner = modal;
  THelpViewer* viewer =
      owner ? owner->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
  return viewer ? viewer : new THelpViewer(owner);
}

}  // namespace

THelpViewer* ShowHelpTopic(int context, QWidget* owner) {
  THelpViewer* viewer = ViewerOf(owner);
  viewer->ShowTopic(context);
  return viewer;
}

THelpViewer* ShowHelpContents(const QString& path, QWidget* owner) {
  THelpViewer* viewer = ViewerOf(owner);
  viewer->ShowContents(path);
  return viewer;
}
