// Shared pieces of the main window tests: a program folder of their own, the
// messages the windows would show, pseudo-terminals standing in for COM1 and
// COM2, and a started main window.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "ui/widgets/message_box.h"

class QComboBox;
class QWidget;
class TForm1;
class THelpViewer;

// A temporary folder that plays the program's folder.
class TestProgramFolder {
 public:
  TestProgramFolder();
  QString Path() const { return dir_.path(); }
  QString FilePath(const QString& name) const;
  void Write(const QString& name, const QByteArray& bytes) const;
  QByteArray Read(const QString& name) const;
  bool Exists(const QString& name) const;
  void Remove(const QString& name) const;
  // "Com1" or "Com2" as a link to a device that is not there.
  void LinkMissingPort(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

// Records every ShowMessage and AskQuestion while it lives, instead of opening
// boxes; questions are answered as SetAnswer says (Yes until told otherwise).
class MessageLog {
 public:
  struct Message {
    QString text;
    QString caption;
    MessageIcon icon;
  };
  MessageLog();
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  const QList<Message>& Messages() const { return *messages_; }
  QStringList Texts() const;
  void Clear() { messages_->clear(); }
  void SetAnswer(bool yes) { *answer_ = yes; }

 private:
  std::shared_ptr<QList<Message>> messages_;
  std::shared_ptr<bool> answer_ = std::make_shared<bool>(true);
};

// A pseudo-terminal whose slave is linked into the program folder as "Com1"
// or "Com2" (or as any path); the test holds the master end, the far side of
// the line.
class PtyLine {
 public:
  PtyLine(const TestProgramFolder& folder, const QString& name);
  explicit PtyLine(const QString& linkPath);
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  bool Ok() const { return master_ >= 0; }
  // Bytes that arrive within `waitMs` while the event loop runs; returns as
  // soon as `atLeast` bytes came.
  QByteArray Receive(int atLeast, int waitMs);
  void Send(const QByteArray& bytes);
  // The speed the program set on the line, in bits per second (0 when unknown).
  int LineSpeed() const;
  QString SlavePath() const { return slave_; }

 private:
  int master_ = -1;
  QString slave_;
};

// The password every started window is opened with.
extern const char kTestPassword[];

// Builds the main window over `folder` as the program starts it: the stored
// password is answered in the enter-password dialog ("data.dat" is written
// with kTestPassword first unless a store or a marker is there), then the
// keyboard and image delay windows are created.
std::unique_ptr<TForm1> StartForm(const TestProgramFolder& folder);

// The usual start of a window test: a program folder of its own, the message
// log, a pseudo-terminal as "Com1", and the window started over them.
struct StartedWindow {
  StartedWindow();
  ~StartedWindow();
  TestProgramFolder folder;
  MessageLog messages;
  PtyLine com1{folder, QStringLiteral("Com1")};
  std::unique_ptr<TForm1> form;
};

// The help file the package ships, in use while this lives.
class ShippedHelpFile {
 public:
  ShippedHelpFile();
  ~ShippedHelpFile();
  ShippedHelpFile(const ShippedHelpFile&) = delete;
  ShippedHelpFile& operator=(const ShippedHelpFile&) = delete;
  QString Path() const { return path_; }

 private:
  QString path_;
};

// The help viewer a window opened, or nullptr.
THelpViewer* ViewerOf(QWidget* window);

// The user picks an entry of a drop-down list.
void Choose(QComboBox* list, int index);
