#include "ui/widgets/key_id_edit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>
#include <algorithm>

#include "link/camera_items.h"
#include "ui/widgets/message_box.h"

const char kIdEditFullMessage[] = "Max length of Keyin character is 16 , now is full";
const char kIdEditRangeMessage[] =
    "Keyin range  :  '0~9'  'A~Z'  '<'  '>'  '-'  '.'  ','  ';'  '*'  '/'  'SPACE'";
const char kKeyBoardFullMessage[] = "Max length of Keyin character  is 16 , now is full";

namespace {

constexpr int kBackspace = 8;

void ShowInformation(const QLineEdit& idEdit, const char* text) {
  ShowNotice(QString::fromLatin1(text), idEdit.window());
}

// The character code a key press types, as the key filter sees it: -1 for a
// key that types nothing. Ctrl+letter gives its control code, as the
// keyboard driver does.
int TypedCode(const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete) return -1;
  const Qt::KeyboardModifiers mods = event.modifiers();
  if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
      key <= Qt::Key_Z) {
    return key - Qt::Key_A + 1;
  }
  if (key == Qt::Key_Backspace) return kBackspace;
  const QString text = event.text();
  if (text.isEmpty()) return -1;
  return static_cast<int>(text.at(0).unicode());
}

class IdEditRules : public QObject {
 public:
  explicit IdEditRules(QLineEdit* idEdit) : QObject(idEdit), idEdit_(idEdit) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != idEdit_ || replaying_) return false;
    if (event->type() == QEvent::KeyPress) {
      const int code = TypedCode(*static_cast<QKeyEvent*>(event));
      if (code < 0) return false;
      const int key = IdEditKeyPress(*idEdit_, code);
      if (key == kBackspace) return false;  // the box deletes as usual
      if (key != 0) Insert(key);
      return true;
    }
    if (event->type() == QEvent::InputMethod) {
      // Text composed by an input method is typed too: each character goes
      // through the same filter, so nothing outside the set slips in.
      const QString commit = static_cast<QInputMethodEvent*>(event)->commitString();
      if (commit.isEmpty()) return false;
      ClearPreedit();
      for (const QChar c : commit) {
        const int key = IdEditKeyPress(*idEdit_, static_cast<int>(c.unicode()));
        if (key == kBackspace) {
          idEdit_->backspace();
        } else if (key != 0) {
          Insert(key);
        }
      }
      return true;
    }
    return false;
  }

 private:
  // The box's own limit: a typed character may not make the text longer than 16.
  void Insert(int key) {
    const auto length = idEdit_->text().size() - idEdit_->selectedText().size() + 1;
    if (length > kIdEditMaxLength) return;
    idEdit_->insert(QString(QChar(static_cast<char16_t>(key))));
  }

  void ClearPreedit() {
    replaying_ = true;
    QInputMethodEvent clear;
    QCoreApplication::sendEvent(idEdit_, &clear);
    replaying_ = false;
  }

  QLineEdit* idEdit_;
  bool replaying_ = false;
};

}  // namespace

int IdEditKeyPress(const QLineEdit& idEdit, int key) {
  if (idEdit.text().size() >= kIdEditMaxLength && !idEdit.hasSelectedText() && key != kBackspace) {
    ShowInformation(idEdit, kIdEditFullMessage);
    return key;
  }
  if ((key >= 'A' && key <= 'Z') || key == kBackspace) return key;
  if (key >= 'a' && key <= 'z') return key - 32;
  if (key < 0x80 && IsIdChar(static_cast<char>(key))) return key;
  ShowInformation(idEdit, kIdEditRangeMessage);
  return 0;
}

void InstallIdEditRules(QLineEdit* idEdit) {
  if (idEdit == nullptr) return;
  idEdit->installEventFilter(new IdEditRules(idEdit));
  // The box's own limit catches paste and drop; it follows a longer text
  // down as it is shortened, never below 16.
  idEdit->setMaxLength(kIdEditMaxLength);
  QObject::connect(idEdit, &QLineEdit::textChanged, idEdit, [idEdit](const QString& text) {
    const int limit = std::max(kIdEditMaxLength, static_cast<int>(text.size()));
    if (limit >= idEdit->maxLength()) return;
    const int cursor = idEdit->cursorPosition();
    idEdit->setMaxLength(limit);
    idEdit->setCursorPosition(cursor);
  });
}

void SetIdEditText(QLineEdit* idEdit, const QString& text) {
  idEdit->setMaxLength(std::max(kIdEditMaxLength, static_cast<int>(text.size())));
  idEdit->setText(text);
}
