// The about box: its contents, and a fresh box for every showing.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "ui/dialogs/about_form.h"

class HelpAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void theBoxShowsNameAndVersion() {
    TAboutForm box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About ZELTA"));
    QCOMPARE(box.Label1->text(), QStringLiteral("ZELTA"));
    QCOMPARE(box.Label5->text(), QStringLiteral("ZELTA"));
    QCOMPARE(box.Label2->text(), QStringLiteral("Version :1.2.3.4"));
    QVERIFY(box.Label2->font().bold());
    QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(box.OKButton->geometry(), QRect(208, 64, 75, 25));
    QCOMPARE(box.size(), QSize(297, 119));
    QVERIFY(box.Image1->pixmap().isNull());
  }

  void aboutTwiceShowsTwoFreshBoxes() {
    QList<QPointer<QWidget>> shown;
    bool centred = true;
    // A main window in a corner: the box still opens centred on the screen.
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 200, 100);
    mainWindow.show();
    for (int i = 0; i < 2; ++i) {
      QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QVERIFY(box->isVisible());
        const QPoint off =
            box->frameGeometry().center() - box->screen()->availableGeometry().center();
        centred = centred && off.manhattanLength() <= 4;
        shown << box;
        box->OKButton->click();
      });
      RunAboutBox(&mainWindow);
    }
    QCOMPARE(shown.size(), 2);
    QVERIFY(centred);
    // Each box is gone when its showing ends.
    QVERIFY(shown[0].isNull());
    QVERIFY(shown[1].isNull());
  }

  void theCloseBoxEndsItLikeOk() {
    bool closed = false;
    QTimer::singleShot(0, this, [&] {
      QWidget* box = QApplication::activeModalWidget();
      QVERIFY(box != nullptr);
      closed = box->close();
    });
    RunAboutBox();
    QVERIFY(closed);
  }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
