// The serial events' hand-over onto the GUI thread: the call runs there and
// the event thread waits for it; tearing down releases a waiting thread
// without running its call; a failing call still releases the thread. The
// link's window timers never tick before their interval.
#include "ui/main_window/control_hand_over.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/ui/support/control_fixture.h"
#include "ui/main_window/control_application.h"
#include "ui/main_window/control_timers.h"

class ControlHandOverTest : public QObject {
  Q_OBJECT

 private slots:
  void linkTimerNeverTicksBeforeItsInterval() {
    // As the link uses it: restarted with an interval, it must not tick early.
    QTimer timer;
    TLinkTimer linkTimer(timer);
    QCOMPARE(timer.timerType(), Qt::PreciseTimer);
    const int intervalsMs[] = {200, 110, 190, 130, 170, 150, 180, 120, 160, 140, 210, 105};
    for (const int intervalMs : intervalsMs) {
      QElapsedTimer since;
      qint64 tickNs = -1;
      const auto tick = QObject::connect(&timer, &QTimer::timeout, [&] {
        if (tickNs < 0) tickNs = since.nsecsElapsed();
        linkTimer.Stop();
      });
      since.start();
      linkTimer.Restart(intervalMs);
      QTRY_VERIFY_WITH_TIMEOUT(tickNs >= 0, 5000);
      QObject::disconnect(tick);
      QVERIFY2(tickNs >= qint64{intervalMs} * 1000000,
               qPrintable(QString("%1 ms ticked at %2 us").arg(intervalMs).arg(tickNs / 1000)));
    }
  }

  void callRunsOnTheGuiThreadAndTheCallerWaits() {
    QObject receiver;
    TQtCommHandOver handOver(&receiver);
    std::atomic<bool> returned{false};
    QThread* ranOn = nullptr;
    std::thread events([&] {
      handOver.Synchronize([&] { ranOn = QThread::currentThread(); });
      returned = true;
    });
    // Not before the GUI thread has run the call (no events processed here).
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QVERIFY(!returned);
    QTRY_VERIFY_WITH_TIMEOUT(returned.load(), 2000);
    events.join();
    QCOMPARE(ranOn, QThread::currentThread());
  }

  void tearDownReleasesAWaitingCallerWithoutRunningTheCall() {
    QObject receiver;
    TQtCommHandOver handOver(&receiver);
    std::atomic<bool> returned{false};
    bool ran = false;
    std::thread events([&] {
      handOver.Synchronize([&] { ran = true; });
      returned = true;
    });
    // The call is queued; the GUI thread does not run it now.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QVERIFY(!returned);
    handOver.TearDown();
    events.join();
    QVERIFY(returned);
    QCoreApplication::processEvents();
    QVERIFY(!ran);
    // Later calls return at once.
    std::thread late([&] { handOver.Synchronize([&] { ran = true; }); });
    late.join();
    QCoreApplication::processEvents();
    QVERIFY(!ran);
  }

  void failingCallIsShownAndReleasesTheCaller() {
    MessageLog messages;
    QObject receiver;
    TQtCommHandOver handOver(&receiver);
    std::atomic<bool> returned{false};
    std::thread events([&] {
      handOver.Synchronize([] { throw std::runtime_error("Port not open (Error: 5)"); });
      returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned.load(), 2000);
    events.join();
    QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Port not open (Error: 5)")});
  }
};

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  ControlHandOverTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "control_hand_over_test.moc"
