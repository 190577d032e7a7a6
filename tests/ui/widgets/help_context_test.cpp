// Context help: F1 opens the help viewer at the focused control's topic or the
// highlighted menu item's; the shipped help file has every topic; "Contens"
// opens the file from the working folder.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtTest>

#include "tests/ui/support/control_fixture.h"
#include "ui/widgets/help_file.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/help_viewer.h"
#include "ui/widgets/message_box.h"

namespace {

// Every help context number the program's controls and menu items carry.
const int kContexts[] = {11, 12, 16, 21, 26, 27, 28, 29, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,
                         45, 46, 47, 48, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 81};

}  // namespace

class HelpContextTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShippedHelpFile> help_;
  QString shippedHelp_;
  int messages_ = 0;

 private slots:
  void initTestCase() {
    help_ = std::make_unique<ShippedHelpFile>();
    shippedHelp_ = help_->Path();
    QVERIFY(!shippedHelp_.isEmpty());
    SetMessageInterceptor([this](const QString&, const QString&, MessageIcon) { ++messages_; });
  }
  void cleanupTestCase() {
    help_.reset();
    SetMessageInterceptor(nullptr);
  }

  void theHelpFileHasATopicForEveryContextNumber() {
    THelpViewer viewer;
    viewer.ShowTopic(kContexts[0]);
    for (const int context : kContexts)
      QVERIFY2(viewer.HasTopic(context), qPrintable(QString::number(context)));
    QVERIFY(!viewer.HasTopic(99));
    // The viewer stands at the topic, far down the file.
    viewer.ShowTopic(81);
    QTRY_VERIFY(viewer.Browser->verticalScrollBar()->value() > 0);
    const int at81 = viewer.Browser->verticalScrollBar()->value();
    viewer.ShowTopic(11);
    QTRY_VERIFY(viewer.Browser->verticalScrollBar()->value() < at81);
  }

  void theApplicationHelpFileLiesBesideTheProgram() {
    SetHelpFilePath(QString());
    QCOMPARE(HelpFilePath(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/ZELTAHELP.HLP"));
    // The build puts the help file there, beside the program and this test.
    QVERIFY(QFile::exists(HelpFilePath()));
    SetHelpFilePath(shippedHelp_);

    // Installed, the program is in bin/ and the help in share/zelta/.
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString installed = root.filePath(QStringLiteral("usr/share/zelta/ZELTAHELP.HLP"));
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(QFileInfo(installed).absolutePath()));
    QCOMPARE(HelpFilePathFor(bin), bin + QStringLiteral("/ZELTAHELP.HLP"));  // neither: named
    QVERIFY(QFile::copy(shippedHelp_, installed));
    QCOMPARE(HelpFilePathFor(bin), installed);
    QVERIFY(QFile::copy(shippedHelp_, bin + QStringLiteral("/ZELTAHELP.HLP")));
    QCOMPARE(HelpFilePathFor(bin), bin + QStringLiteral("/ZELTAHELP.HLP"));
  }

  void f1OnAControlOpensItsTopic() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* up = new QPushButton(QStringLiteral("Up"));
    up->setProperty(kHelpContextProperty, 41);
    auto* edit = new QLineEdit;
    edit->setProperty(kHelpContextProperty, 67);
    layout->addWidget(up);
    layout->addWidget(edit);
    InstallHelpKey(&window);
    InstallHelpKey(&window);  // a second call adds nothing
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    THelpViewer* viewer = ViewerOf(&window);
    QVERIFY(viewer != nullptr);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->CurrentTopic(), 67);
    QVERIFY(viewer->HasTopic(67));
    QVERIFY(edit->text().isEmpty());

    up->setFocus();
    QTest::keyClick(up, Qt::Key_F1);
    QCOMPARE(ViewerOf(&window), viewer);  // one viewer, shown at the new topic
    QCOMPARE(viewer->CurrentTopic(), 41);
    QCOMPARE(window.findChildren<THelpViewer*>().size(), 1);
  }

  void aControlWithoutANumberTakesItsParents() {
    QWidget window;
    auto* group = new QWidget(&window);
    group->setProperty(kHelpContextProperty, 27);
    auto* inner = new QPushButton(QStringLiteral("Close"), group);
    QCOMPARE(HelpContextOf(inner), 27);
    auto* loose = new QPushButton(QStringLiteral("no topic"), &window);
    QCOMPARE(HelpContextOf(loose), 0);
  }

  void f1InAModalDialogOpensAViewerTheDialogDoesNotBlock() {
    QWidget window;
    window.setProperty(kHelpContextProperty, 99);  // not lent to the dialog
    InstallHelpKey(&window);
    QDialog dialog(&window);
    auto* read = new QPushButton(QStringLiteral("Read"), &dialog);
    read->setProperty(kHelpContextProperty, 27);
    auto* plain = new QPushButton(QStringLiteral("plain"), &dialog);
    plain->move(0, 40);
    window.show();
    int topic = 0;
    bool usable = false;
    QTimer::singleShot(0, &dialog, [&] {
      QTest::keyClick(read, Qt::Key_F1);
      // A modal dialog blocks every window but the ones it owns.
      const THelpViewer* viewer = ViewerOf(&dialog);
      usable = viewer && viewer->isVisible() && viewer->parentWidget() == &dialog &&
               QApplication::activeModalWidget() == &dialog;
      topic = viewer ? viewer->CurrentTopic() : 0;
      dialog.accept();
    });
    dialog.exec();
    QVERIFY(usable);
    QCOMPARE(topic, 27);
    QCOMPARE(HelpContextOf(plain), 0);
    QVERIFY(ViewerOf(&window) == nullptr);
  }

  void f1OnAHighlightedMenuItemOpensItsTopic() {
    QWidget window;
    InstallHelpKey(&window);
    QMenu menu(QStringLiteral("Protocol"), &window);
    menu.menuAction()->setProperty(kHelpContextProperty, 21);
    QAction* pelcoD = menu.addAction(QStringLiteral("Pelco D"));
    pelcoD->setProperty(kHelpContextProperty, 21);
    QMenu help(QStringLiteral("Help"), &window);
    QAction* contens = help.addAction(QStringLiteral("Contens"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    menu.popup(window.mapToGlobal(QPoint(0, 0)));
    menu.setActiveAction(pelcoD);
    QTest::keyClick(&menu, Qt::Key_F1);
    QVERIFY(ViewerOf(&window) != nullptr);
    QCOMPARE(ViewerOf(&window)->CurrentTopic(), 21);
    menu.hide();

    // "Contens" has no number: F1 opens nothing.
    ViewerOf(&window)->ShowTopic(0);
    help.popup(window.mapToGlobal(QPoint(0, 0)));
    help.setActiveAction(contens);
    QTest::keyClick(&help, Qt::Key_F1);
    QCOMPARE(ViewerOf(&window)->CurrentTopic(), 0);
    help.hide();
  }

  void aMissingHelpFileIsSaidInTheViewer() {
    SetHelpFilePath(QStringLiteral("/nonexistent/ZELTAHELP.HLP"));
    THelpViewer viewer;
    viewer.ShowTopic(41);
    QVERIFY(viewer.Browser->toPlainText().contains(QStringLiteral("cannot be found")));
    SetHelpFilePath(shippedHelp_);
  }

  void contensShowsTheFileOfTheWorkingFolderInTheViewerWhateverItsCase() {
    const QString before = QDir::currentPath();
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile shipped(shippedHelp_);
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QByteArray text = shipped.readAll();
    text.replace("<body>", "<body><p>Working folder copy</p>");
    QFile copy(folder.filePath(QStringLiteral("ZELTAHELP.HLP")));
    QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(text) == text.size());
    copy.close();
    QVERIFY(QDir::setCurrent(folder.path()));
    QWidget window;
    Help1Click(&window);
    QVERIFY(QDir::setCurrent(before));
    THelpViewer* viewer = ViewerOf(&window);
    QVERIFY(viewer != nullptr && viewer->isVisible());
    QVERIFY(viewer->Browser->toPlainText().startsWith(QStringLiteral("Working folder copy")));
    QCOMPARE(viewer->Browser->verticalScrollBar()->value(), 0);
  }

  void contensFindsNothingInAnotherFolderAndSaysNothing() {
    const QString before = QDir::currentPath();
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    messages_ = 0;
    QWidget window;
    Help1Click(&window);
    QVERIFY(ViewerOf(&window) == nullptr);
    QCOMPARE(messages_, 0);
    QVERIFY(QDir::setCurrent(before));
  }
};

QTEST_MAIN(HelpContextTest)
#include "help_context_test.moc"
