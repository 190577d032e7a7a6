// The on-screen keyboard: its buttons, and how they edit IdEdit.
#include "ui/dialogs/key_board_form.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/widgets/message_box.h"

class KeyBoardFormTest : public QObject {
  Q_OBJECT

 private:
  QWidget* main_ = nullptr;
  QLineEdit* edit_ = nullptr;
  TKeyBoardForm* keys_ = nullptr;
  QStringList shown_;

  void Click(const char* name) {
    QPushButton* button = keys_->Button(QString::fromLatin1(name));
    QVERIFY2(button != nullptr, name);
    button->click();
  }

 private slots:
  void init() {
    shown_.clear();
    SetMessageInterceptor([this](const QString& text, const QString& caption, MessageIcon icon) {
      QCOMPARE(caption, QStringLiteral("INFORMATION"));
      QVERIFY(icon == MessageIcon::Information);
      shown_ << text;
    });
    main_ = new QWidget;
    edit_ = new QLineEdit(main_);
    keys_ = new TKeyBoardForm(edit_, main_);
  }
  void cleanup() {
    delete main_;
    SetMessageInterceptor(nullptr);
  }

  void fortySevenButtonsStandAtTheirPlaces() {
    const QList<QPushButton*> buttons =
        keys_->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(buttons.size(), 47);
    QCOMPARE(keys_->windowTitle(), QStringLiteral("Key Board "));
    QVERIFY(keys_->isWindow());
    QVERIFY(keys_->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(keys_->size(), QSize(398, 136));
    struct Place {
      const char* name;
      const char* caption;
      QRect geometry;
    };
    const Place places[] = {
        {"Button_1", "1", {0, 8, 25, 25}},       {"Button_Ret", "<--", {352, 8, 41, 25}},
        {"Button_Q", "Q", {8, 40, 25, 25}},      {"Button_Del", "Del", {360, 40, 33, 25}},
        {"Button_F", "F", {112, 72, 27, 25}},    {"Button_K", "K", {241, 72, 24, 25}},
        {"Button_Mul", "*", {368, 72, 25, 25}},  {"Button_Small", "<", {248, 104, 25, 25}},
        {"Button_Div", "/", {312, 104, 25, 25}}, {"Button_Space", "", {344, 104, 49, 25}},
    };
    for (const Place& p : places) {
      QPushButton* button = keys_->Button(QString::fromLatin1(p.name));
      QVERIFY2(button != nullptr, p.name);
      QCOMPARE(button->text(), QString::fromLatin1(p.caption));
      QCOMPARE(button->geometry(), p.geometry);
    }
  }

  void everyCharacterButtonInsertsItsCharacter() {
    const QString expected = QStringLiteral("1234567890-QWERTYUIOP,ASDFGHJKL;.*ZXCVBNM<>/ ");
    const QList<QPushButton*> buttons =
        keys_->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    QString typed;
    for (QPushButton* button : buttons) {
      if (button->objectName() == QLatin1String("Button_Ret") ||
          button->objectName() == QLatin1String("Button_Del")) {
        continue;
      }
      edit_->clear();
      button->click();
      typed += edit_->text();
    }
    QCOMPARE(typed, expected);
    QVERIFY(shown_.isEmpty());
  }

  void aButtonInsertsAtTheCaretOrReplacesTheSelection() {
    edit_->setText(QStringLiteral("ABCD"));
    edit_->setCursorPosition(2);
    Click("Button_7");
    QCOMPARE(edit_->text(), QStringLiteral("AB7CD"));
    QCOMPARE(edit_->cursorPosition(), 3);
    edit_->setSelection(1, 3);
    Click("Button_Space");
    QCOMPARE(edit_->text(), QStringLiteral("A D"));
    QCOMPARE(edit_->cursorPosition(), 2);
  }

  void aFullBoxShowsTheTwoBlankMessageUnlessSomethingIsSelected() {
    edit_->setText(QStringLiteral("0123456789ABCDEF"));
    edit_->setCursorPosition(3);
    Click("Button_7");
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEF"));
    QCOMPARE(shown_,
             QStringList{QStringLiteral("Max length of Keyin character  is 16 , now is full")});
    edit_->setSelection(0, 1);
    Click("Button_7");
    QCOMPARE(edit_->text(), QStringLiteral("7123456789ABCDEF"));
    QCOMPARE(shown_.size(), 1);
  }

  void backDeletesBeforeTheCaretAndDelAfterIt() {
    edit_->setText(QStringLiteral("ABCD"));
    edit_->setCursorPosition(2);
    Click("Button_Ret");
    QCOMPARE(edit_->text(), QStringLiteral("ACD"));
    QCOMPARE(edit_->cursorPosition(), 1);

    edit_->setText(QStringLiteral("ABCD"));
    edit_->setCursorPosition(2);
    Click("Button_Del");
    QCOMPARE(edit_->text(), QStringLiteral("ABD"));
    QCOMPARE(edit_->cursorPosition(), 2);
  }

  void deletingAtTheEndsChangesNothing() {
    edit_->setText(QStringLiteral("ABCD"));
    edit_->setCursorPosition(0);
    Click("Button_Ret");
    QCOMPARE(edit_->text(), QStringLiteral("ABCD"));
    QCOMPARE(edit_->cursorPosition(), 0);
    edit_->setCursorPosition(4);
    Click("Button_Del");
    QCOMPARE(edit_->text(), QStringLiteral("ABCD"));
    QCOMPARE(edit_->cursorPosition(), 4);
  }

  void bothDeleteButtonsRemoveTheSelection() {
    for (const char* name : {"Button_Ret", "Button_Del"}) {
      edit_->setText(QStringLiteral("ABCDEF"));
      edit_->setSelection(4, -3);  // selected backwards: "BCD", caret at 1
      Click(name);
      QCOMPARE(edit_->text(), QStringLiteral("AEF"));
      QCOMPARE(edit_->cursorPosition(), 1);
      QVERIFY(!edit_->hasSelectedText());
    }
  }

  void deleteButtonsMakeNoLengthTest() {
    edit_->setText(QStringLiteral("0123456789ABCDEFGH"));
    edit_->setCursorPosition(18);
    Click("Button_Ret");
    QCOMPARE(edit_->text(), QStringLiteral("0123456789ABCDEFG"));
    QVERIFY(shown_.isEmpty());
  }

  void theFocusGoesBackToIdEdit() {
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_));
    keys_->ShowKeyBoard();
    QVERIFY(keys_->isVisible());
    QTRY_VERIFY(edit_->hasFocus());
    QPushButton* s = keys_->Button(QStringLiteral("Button_S"));
    keys_->activateWindow();
    s->setFocus();
    QTRY_VERIFY(s->hasFocus());
    Click("Button_A");
    QTRY_VERIFY(edit_->hasFocus());
    QCOMPARE(edit_->text(), QStringLiteral("A"));
    keys_->activateWindow();
    s->setFocus();
    QTRY_VERIFY(s->hasFocus());
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), keys_->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(keys_, &move);
    QTRY_VERIFY(edit_->hasFocus());
  }

  void closingOnlyHidesAndTheKeyboardComesBackUnchanged() {
    edit_->setText(QStringLiteral("AB"));
    keys_->ShowKeyBoard();
    const QPoint place = keys_->pos();
    QVERIFY(keys_->close());
    QVERIFY(!keys_->isVisible());
    keys_->ShowKeyBoard();
    QVERIFY(keys_->isVisible());
    QCOMPARE(keys_->pos(), place);
    QCOMPARE(edit_->text(), QStringLiteral("AB"));
  }
};

QTEST_MAIN(KeyBoardFormTest)
#include "key_board_form_test.moc"
