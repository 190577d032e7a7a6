// The entry rules of IdEdit: what typed keys do, and the two messages.
#include "ui/widgets/key_id_edit.h"

#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

#include "ui/widgets/message_box.h"

namespace {

struct Shown {
  QString text;
  QString caption;
  MessageIcon icon;
};

}  // namespace

class KeyIdEditTest : public QObject {
  Q_OBJECT

 private:
  QLineEdit* edit_ = nullptr;
  QList<Shown> shown_;

  void Type(const QString& text) { QTest::keyClicks(edit_, text); }
  void TypeKey(Qt::Key key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(edit_, &press);
  }

 private slots:
  void init() {
    shown_.clear();
    SetMessageInterceptor([this](const QString& text, const QString& caption, MessageIcon icon) {
      shown_.append({text, caption, icon});
    });
    edit_ = new QLineEdit;
    InstallIdEditRules(edit_);
  }
  void cleanup() {
    delete edit_;
    SetMessageInterceptor(nullptr);
  }

  void smallLettersBecomeCapitalsAndTheSetIsTaken() {
    Type(QStringLiteral("abc"));
    QCOMPARE(edit_->text(), QStringLiteral("ABC"));
    Type(QStringLiteral("Z09 /*;,.-><"));
    QCOMPARE(edit_->text(), QStringLiteral("ABCZ09 /*;,.-><"));
    QVERIFY(shown_.isEmpty());
  }

  void colonIsAcceptedAlthoughNoMessageListsIt() {
    Type(QStringLiteral("A:"));
    QCOMPARE(edit_->text(), QStringLiteral("A:"));
    QVERIFY(shown_.isEmpty());
  }

  void keysOutsideTheSetShowTheRangeMessageAndTypeNothing() {
    Type(QStringLiteral("A"));
    TypeKey(Qt::Key_Underscore, QStringLiteral("_"));
    TypeKey(Qt::Key_Eacute, QString(QChar(0xE9)));
    TypeKey(Qt::Key_Return, QStringLiteral("\r"));
    TypeKey(Qt::Key_Escape, QStringLiteral("\x1b"));
    TypeKey(Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier);  // paste by key: a control code
    QCOMPARE(edit_->text(), QStringLiteral("A"));
    QCOMPARE(shown_.size(), 5);
    for (const Shown& s : shown_) {
      QCOMPARE(s.text, QStringLiteral("Keyin range  :  '0~9'  'A~Z'  '<'  '>'  '-'  '.'  ','  "
                                      "';'  '*'  '/'  'SPACE'"));
      QCOMPARE(s.caption, QStringLiteral("INFORMATION"));
      QVERIFY(s.icon == MessageIcon::Information);
    }
  }

  void keysThatTypeNothingPassUntouched() {
    edit_->setText(QStringLiteral("ABCD"));
    edit_->setCursorPosition(1);
    QTest::keyClick(edit_, Qt::Key_Delete);
    QTest::keyClick(edit_, Qt::Key_Right);
    QCOMPARE(edit_->text(), QStringLiteral("ACD"));
    QCOMPARE(edit_->cursorPosition(), 2);
    QVERIFY(shown_.isEmpty());
  }

  void aFullBoxShowsTheFullMessageForAnyKeyButBackspace() {
    edit_->setText(QStringLiteral("0123456789ABCDEF"));
    Type(QStringLiteral("b"));
    TypeKey(Qt::Key_Underscore, QStringLiteral("_"));  // full message only, no range message
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEF"));
    QCOMPARE(shown_.size(), 2);
    for (const Shown& s : shown_) {
      QCOMPARE(s.text, QStringLiteral("Max length of Keyin character is 16 , now is full"));
      QCOMPARE(s.caption, QStringLiteral("INFORMATION"));
      QVERIFY(s.icon == MessageIcon::Information);
    }
    QTest::keyClick(edit_, Qt::Key_Backspace);
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDE"));
    QCOMPARE(shown_.size(), 2);
  }

  void aFullBoxWithASelectionTakesTheKeyInPlaceOfIt() {
    edit_->setText(QStringLiteral("0123456789ABCDEF"));
    edit_->setSelection(4, 3);
    Type(QStringLiteral("b"));
    QCOMPARE(edit_->text(), QStringLiteral("0123B789ABCDEF"));
    QCOMPARE(edit_->cursorPosition(), 5);
    QVERIFY(shown_.isEmpty());
  }

  void typingStopsAtSixteenCharacters() {
    Type(QStringLiteral("0123456789abcdef"));
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEF"));
    QVERIFY(shown_.isEmpty());
    Type(QStringLiteral("g"));
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEF"));
    QCOMPARE(shown_.size(), 1);
  }

  void textSetByTheProgramIsNotCut() {
    // A settings file may load a longer ID; only editing is limited.
    SetIdEditText(edit_, QStringLiteral("0123456789ABCDEFGH"));
    QCOMPARE(edit_->text().size(), 18);
    edit_->setSelection(0, 1);
    Type(QStringLiteral("x"));  // would stay 18 long: the box's limit refuses it
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEFGH"));
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    edit_->setCursorPosition(18);
    edit_->paste();
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEFGH"));
    // Shortened, the text may grow back to 16 but no further.
    edit_->setSelection(4, 6);
    TypeKey(Qt::Key_Backspace, QString());
    QCOMPARE(edit_->cursorPosition(), 4);
    QApplication::clipboard()->setText(QStringLiteral("XYZUVW"));
    edit_->paste();
    QCOMPARE(edit_->text(), QStringLiteral("0123XYZUABCDEFGH"));
  }

  void pastedOrDroppedTextIsCutToSixteen() {
    const QString pasted = QStringLiteral("abcdefghijklmnopqrstuvwxyz!?");  // 28, no key rules
    QApplication::clipboard()->setText(pasted);
    Type(QStringLiteral("12"));
    TypeKey(Qt::Key_Insert, QString(), Qt::ShiftModifier);
    QCOMPARE(edit_->text(), QStringLiteral("12") + pasted.left(14));
    edit_->clear();
    QMimeData dropped;
    dropped.setText(pasted);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit_, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit_, &drop);
    QCOMPARE(edit_->text(), pasted.left(16));
  }

  void composedTextGoesThroughTheSameFilter() {
    auto commit = [this](const QString& text) {
      QInputMethodEvent event;
      event.setCommitString(text);
      QApplication::sendEvent(edit_, &event);
    };
    commit(QStringLiteral("ab"));
    QCOMPARE(edit_->text(), QStringLiteral("AB"));
    commit(QString(QChar(0xE9)));
    QCOMPARE(edit_->text(), QStringLiteral("AB"));
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_.first().text.left(11), QStringLiteral("Keyin range"));
  }

  void theFilterChangesOrCancelsSingleKeys() {
    QCOMPARE(IdEditKeyPress(*edit_, 'q'), int('Q'));
    QCOMPARE(IdEditKeyPress(*edit_, 'Q'), int('Q'));
    QCOMPARE(IdEditKeyPress(*edit_, 8), 8);
    QCOMPARE(IdEditKeyPress(*edit_, ':'), int(':'));
    QVERIFY(shown_.isEmpty());
    QCOMPARE(IdEditKeyPress(*edit_, '_'), 0);
    QCOMPARE(IdEditKeyPress(*edit_, 13), 0);
    QCOMPARE(shown_.size(), 2);
  }
};

QTEST_MAIN(KeyIdEditTest)
#include "key_id_edit_test.moc"
