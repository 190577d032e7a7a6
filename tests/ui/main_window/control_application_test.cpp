// The application's last line of defence and the panel picture decoder.
#include "ui/main_window/control_application.h"

#include <QFile>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "tests/ui/support/control_fixture.h"
#include "ui/widgets/control_jpeg.h"

class ControlApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void exceptionInAHandlerIsShownAndTheProgramGoesOn() {
    MessageLog messages;
    bool after = false;
    QTimer::singleShot(0, this, [] { throw std::runtime_error("Port not open (Error: 9)"); });
    QTimer::singleShot(0, this, [] { throw 42; });
    QTimer::singleShot(5, this, [&after] { after = true; });
    QTRY_VERIFY_WITH_TIMEOUT(after, 2000);
    QCOMPARE(messages.Texts(),
             (QStringList{QStringLiteral("Port not open (Error: 9)"), QString()}));
    QCOMPARE(messages.Messages().first().icon, MessageIcon::Error);
  }

  void panelPictureDecodesWithLibjpeg() {
    // The resources live in the window library; a window registers them.
    Q_INIT_RESOURCE(zelta);
    QFile picture(QStringLiteral(":/zelta/panel_background.jpg"));
    QVERIFY(picture.open(QIODevice::ReadOnly));
    const QByteArray data = picture.readAll();
    const QImage image = DecodeJpeg(data);
    QCOMPARE(image.size(), QSize(513, 385));

    // Damaged or foreign data gives no picture, and never ends the program.
    QVERIFY(DecodeJpeg(QByteArray()).isNull());
    QVERIFY(DecodeJpeg(QByteArray("not a picture")).isNull());
    QVERIFY(DecodeJpeg(data.left(2) + QByteArray(64, '\x55')).isNull());
  }
};

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  ControlApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "control_application_test.moc"
