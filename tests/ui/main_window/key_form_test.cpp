// The on-screen keyboard and the ID rules on the real main window.
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/key_board_form.h"
#include "ui/main_window/control_form.h"

class KeyFormTest : public QObject {
  Q_OBJECT

 private slots:
  void theKeyboardButtonOpensTheKeyboardOnIdEdit() {
    StartedWindow started;
    auto& messages = started.messages;
    auto& form = started.form;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    TKeyBoardForm* keys = form->KeyBoardForm;
    QVERIFY(keys != nullptr);
    QVERIFY(!keys->isVisible());

    Child<QToolButton>(form, "KeyboardSpeed")->click();
    QVERIFY(keys->isVisible());
    QTRY_VERIFY(Child<QLineEdit>(form, "IdEdit")->hasFocus());
    keys->Button(QStringLiteral("Button_A"))->click();
    keys->Button(QStringLiteral("Button_7"))->click();
    QTest::keyClicks(Child<QLineEdit>(form, "IdEdit"), QStringLiteral("b:"));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text(), QStringLiteral("A7B:"));
    QTest::keyClicks(Child<QLineEdit>(form, "IdEdit"), QStringLiteral("_"));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text(), QStringLiteral("A7B:"));
    QCOMPARE(messages.Texts().size(), 1);

    // A longer text from a settings file is not cut; typing cannot lengthen it.
    form->Panel().SetIdEditText("0123456789ABCDEFG");  // as a settings file load sets it
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text().size(), 17);
    Child<QLineEdit>(form, "IdEdit")->setCursorPosition(17);
    QTest::keyClicks(Child<QLineEdit>(form, "IdEdit"), QStringLiteral("Z"));
    QCOMPARE(Child<QLineEdit>(form, "IdEdit")->text(), QStringLiteral("0123456789ABCDEFG"));
  }
};

QTEST_MAIN(KeyFormTest)
#include "key_form_test.moc"
