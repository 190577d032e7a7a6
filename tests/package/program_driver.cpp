// Loaded into an installed zelta with LD_PRELOAD by check_package: plays the
// user of a first start. It sets a new password, waits until the camera
// answers (Read Camera enabled), asks for help with F1 on Read Camera and
// prints where the help came from, then closes the window as a user would.
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {

template <typename T>
T* Find(const char* name) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    if (window->objectName() == QLatin1String(name)) return qobject_cast<T*>(window);
    if (auto* child = window->findChild<T*>(QLatin1String(name))) return child;
  }
  return nullptr;
}

void Say(const QString& text) {
  std::printf("driver: %s\n", qPrintable(text));
  std::fflush(stdout);
}

enum class Phase { Password, Lamp, Help, Done };

void Step(Phase& phase) {
  switch (phase) {
    case Phase::Password: {
      auto* fresh = Find<QLineEdit>("NewPasswordEdit");
      if (fresh == nullptr || !fresh->isVisible()) return;
      fresh->setText(QStringLiteral("SITE1"));
      Find<QLineEdit>("ConfirmPasswordEdit")->setText(QStringLiteral("SITE1"));
      Say(QStringLiteral("new password set"));
      phase = Phase::Lamp;
      Find<QPushButton>("OkButton")->click();
      return;
    }
    case Phase::Lamp: {
      auto* read = Find<QPushButton>("ReadButton");
      if (read == nullptr || !read->isEnabled()) return;
      Say(QStringLiteral("camera answers"));
      phase = Phase::Help;
      QTest::keyClick(read, Qt::Key_F1);
      return;
    }
    case Phase::Help: {
      auto* browser = Find<QTextBrowser>("HelpBrowser");
      if (browser == nullptr) return;
      const bool found = !browser->toPlainText().startsWith(QStringLiteral("The help file"));
      Say(QStringLiteral("help %1 in %2")
              .arg(found ? QStringLiteral("shown") : QStringLiteral("missing"),
                   browser->document()->baseUrl().toLocalFile()));
      phase = Phase::Done;
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<QMainWindow*>(window)) main->close();
      }
      return;
    }
    case Phase::Done:
      return;
  }
}

void Start() {
  auto* timer = new QTimer(QCoreApplication::instance());
  auto phase = std::make_shared<Phase>(Phase::Password);
  const QDeadlineTimer deadline(30000);
  QObject::connect(timer, &QTimer::timeout, [timer, phase, deadline] {
    Step(*phase);
    if (*phase != Phase::Done && deadline.hasExpired()) {
      Say(QStringLiteral("gave up"));
      timer->stop();
      QCoreApplication::exit(3);
    }
  });
  timer->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Start)
