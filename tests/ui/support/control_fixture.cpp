#include "tests/ui/support/control_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

#include "tests/ui/support/password_modal.h"
#include "ui/dialogs/password_form.h"
#include "ui/dialogs/password_store.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/help_file.h"
#include "ui/widgets/help_viewer.h"

const char kTestPassword[] = "Zelta7";

TestProgramFolder::TestProgramFolder() = default;

QString TestProgramFolder::FilePath(const QString& name) const {
  return QDir(dir_.path()).filePath(name);
}

void TestProgramFolder::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(FilePath(name));
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QByteArray TestProgramFolder::Read(const QString& name) const {
  QFile file(FilePath(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestProgramFolder::Exists(const QString& name) const {
  return QFile::exists(FilePath(name));
}

void TestProgramFolder::Remove(const QString& name) const {
  QFile::remove(FilePath(name));
}

void TestProgramFolder::LinkMissingPort(const QString& name) const {
  QFile::link(FilePath(QStringLiteral("no-such-device-") + name), FilePath(name));
}

MessageLog::MessageLog() : messages_(std::make_shared<QList<Message>>()) {
  auto messages = messages_;
  SetMessageInterceptor([messages](const QString& text, const QString& caption, MessageIcon icon) {
    messages->append({text, caption, icon});
  });
  SetQuestionInterceptor([messages, answer = answer_](const QString& text) {
    messages->append({text, QStringLiteral("QUESTION"), MessageIcon::Question});
    return *answer;
  });
}

MessageLog::~MessageLog() {
  SetMessageInterceptor({});
  SetQuestionInterceptor({});
}

QStringList MessageLog::Texts() const {
  QStringList texts;
  for (const Message& message : *messages_) texts << message.text;
  return texts;
}

PtyLine::PtyLine(const TestProgramFolder& folder, const QString& name)
    : PtyLine(folder.FilePath(name)) {}

PtyLine::PtyLine(const QString& linkPath) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return;
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    close(master_);
    master_ = -1;
    return;
  }
  const char* slave = ptsname(master_);
  if (slave) slave_ = QString::fromLocal8Bit(slave);
  if (slave_.isEmpty() || !QFile::link(slave_, linkPath)) {
    close(master_);
    master_ = -1;
  }
}

PtyLine::~PtyLine() {
  if (master_ >= 0) close(master_);
}

QByteArray PtyLine::Receive(int atLeast, int waitMs) {
  QByteArray bytes;
  const QDeadlineTimer deadline(waitMs);
  while (bytes.size() < atLeast && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    pollfd fd{master_, POLLIN, 0};
    while (poll(&fd, 1, 2) > 0 && (fd.revents & POLLIN)) {
      char buffer[256];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<qsizetype>(n));
    }
  }
  return bytes;
}

void PtyLine::Send(const QByteArray& bytes) {
  if (master_ < 0) return;
  const ssize_t written = write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
  (void)written;
}

std::unique_ptr<TForm1> StartForm(const TestProgramFolder& folder) {
  if (!folder.Exists(QString::fromLatin1(kPasswordStoreName)) &&
      !folder.Exists(QString::fromLatin1(kNewPasswordMarkerName))) {
    WriteStoredPassword(PasswordFolderPath(folder.Path()),
                        QString::fromLatin1(kTestPassword).toStdU16String());
  }
  const auto answered = AnswerPasswordForm([](TPasswordForm* form) {
    form->EnterPasswordEdit->setText(QString::fromLatin1(kTestPassword));
    form->OkButtonClick();
  });
  auto form = std::make_unique<TForm1>(folder.Path());
  form->CreateKeyBoardAndImageDelayForms();
  return form;
}

void Choose(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

int PtyLine::LineSpeed() const {
  // The master end sees the settings the program made on the slave end.
  termios settings{};
  if (tcgetattr(master_, &settings) != 0) return 0;
  switch (cfgetospeed(&settings)) {
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    default:
      return 0;
  }
}

StartedWindow::StartedWindow() : form(StartForm(folder)) {}

StartedWindow::~StartedWindow() = default;

ShippedHelpFile::ShippedHelpFile() : path_(QFINDTESTDATA("../../../resources/help/ZELTAHELP.HLP")) {
  SetHelpFilePath(path_);
}

ShippedHelpFile::~ShippedHelpFile() {
  SetHelpFilePath(QString());
}

THelpViewer* ViewerOf(QWidget* window) {
  return window->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
}
