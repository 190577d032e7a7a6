#include "ui/help_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/help_file.h"

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
  const QString path = HelpFilePath();
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
  Browser->scrollToAnchor(QString::number(context));
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

THelpViewer* ShowHelpTopic(int context, QWidget* owner) {
  THelpViewer* viewer =
      owner ? owner->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
  if (viewer == nullptr) viewer = new THelpViewer(owner);
  viewer->ShowTopic(context);
  return viewer;
}
