// The start-up access check, the change command and the close tick, with the
// modal dialog answered on its own event loop.
#include "ui/dialogs/password_access.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "tests/ui/support/password_modal.h"
#include "ui/dialogs/password_form.h"
#include "ui/widgets/message_box.h"

namespace fs = std::filesystem;

namespace {

struct Message {
  QString text;
  QString caption;
  MessageIcon icon;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Touch(const fs::path& path) {
  std::ofstream file(path, std::ios::binary);
}

// Types into `edit` and presses Enter or Escape there.
void TypeAndPress(QLineEdit* edit, const QString& text, Qt::Key key) {
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, key);
}

}  // namespace

class PasswordAccessTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString folderText_;
  fs::path folder_;
  std::vector<Message> messages_;

  fs::path StorePath() const { return folder_ / "data.dat"; }
  fs::path MarkerPath() const { return folder_ / "newdata.dat"; }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    folderText_ = dir_->path();
    folder_ = fs::path(folderText_.toStdString());
    messages_.clear();
    SetMessageInterceptor([this](const QString& text, const QString& caption, MessageIcon icon) {
      messages_.push_back({text, caption, icon});
    });
  }

  void cleanup() { SetMessageInterceptor(nullptr); }

  void FirstStartSetsPasswordAndNextStartAsksForIt() {
    Touch(MarkerPath());
    TPasswordMode seen = pwChange;
    auto answered = AnswerPasswordForm([&seen](TPasswordForm* form) {
      seen = form->PasswordMode();
      QTest::keyClicks(form->NewPasswordEdit, "abc");
      TypeAndPress(form->ConfirmPasswordEdit, "abc", Qt::Key_Return);
    });
    QVERIFY(!RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(*answered, 1);
    QCOMPARE(seen, pwSetNew);
    QVERIFY(messages_.empty());
    QCOMPARE(ReadBytes(StorePath()), std::string("\xC5\xC6\xC7"));
    QVERIFY(!fs::exists(MarkerPath()));

    answered = AnswerPasswordForm([&seen](TPasswordForm* form) {
      seen = form->PasswordMode();
      TypeAndPress(form->EnterPasswordEdit, "abc", Qt::Key_Return);
    });
    QVERIFY(!RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(*answered, 1);
    QCOMPARE(seen, pwEnter);
  }

  void CancelledFirstStartClosesAndAsksAgainNextTime() {
    Touch(MarkerPath());
    auto answered = AnswerPasswordForm(
        [](TPasswordForm* form) { TypeAndPress(form->NewPasswordEdit, "abc", Qt::Key_Escape); });
    QVERIFY(RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(*answered, 1);
    QVERIFY(fs::exists(MarkerPath()));
    QVERIFY(!fs::exists(StorePath()));

    TPasswordMode seen = pwChange;
    answered = AnswerPasswordForm([&seen](TPasswordForm* form) {
      seen = form->PasswordMode();
      form->CancelButtonClick();
    });
    QVERIFY(RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(seen, pwSetNew);
  }

  void RefusedPasswordThenCancelCloses() {
    std::ofstream(StorePath(), std::ios::binary) << "\xC5\xC6\xC7";  // "abc"
    auto answered = AnswerPasswordForm([](TPasswordForm* form) {
      TypeAndPress(form->EnterPasswordEdit, "ABC", Qt::Key_Return);
      QVERIFY(form->isVisible());
      QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Escape);
    });
    QVERIFY(RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(*answered, 1);
    QCOMPARE(messages_.size(), std::size_t{1});
    QCOMPARE(messages_.at(0).text, QString("The password is error."));
    QVERIFY(!fs::exists(MarkerPath()));  // only a cancelled first start puts it back
  }

  void PresetOpensTheProgram() {
    std::ofstream(StorePath(), std::ios::binary) << "\xC5\xC6\xC7";
    AnswerPasswordForm([](TPasswordForm* form) {
      TypeAndPress(form->EnterPasswordEdit, "MAVROQ", Qt::Key_Return);
    });
    QVERIFY(!RunStartupAccessCheck(folderText_, nullptr));
    QVERIFY(messages_.empty());
  }

  void NeitherFileShowsTheFileErrorWithoutDialog() {
    auto answered = AnswerPasswordForm([](TPasswordForm* form) { form->reject(); }, 200);
    QVERIFY(RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(messages_.size(), std::size_t{1});
    QCOMPARE(messages_.at(0).text, QString("There is someone file error."));
    QCOMPARE(messages_.at(0).caption, QString("ERROR"));
    QCOMPARE(messages_.at(0).icon, MessageIcon::Error);
    QTest::qWait(400);  // past the answer's wait, so it cannot answer a later test
    QCOMPARE(*answered, 0);
    QVERIFY(!fs::exists(MarkerPath()));
  }

  void UndeletableMarkerFallsBackToTheStore() {
    fs::create_directories(MarkerPath() / "inside");
    std::ofstream(StorePath(), std::ios::binary) << "\xC5";
    TPasswordMode seen = pwChange;
    AnswerPasswordForm([&seen](TPasswordForm* form) {
      seen = form->PasswordMode();
      TypeAndPress(form->EnterPasswordEdit, "a", Qt::Key_Return);
    });
    QVERIFY(!RunStartupAccessCheck(folderText_, nullptr));
    QCOMPARE(seen, pwEnter);
  }

  void ChangeRewritesOrKeepsTheStoreAndNeverCloses() {
    std::ofstream(StorePath(), std::ios::binary) << "\xC5\xC6\xC7";
    QWidget mainWindow;
    TPasswordMode seen = pwEnter;
    AnswerPasswordForm([&seen](TPasswordForm* form) {
      seen = form->PasswordMode();
      QTest::keyClicks(form->EnterPasswordEdit, "abc");
      QTest::keyClicks(form->NewPasswordEdit, "xyz");
      TypeAndPress(form->ConfirmPasswordEdit, "xyz", Qt::Key_Return);
    });
    RunChangePassword(folderText_, &mainWindow);
    QCOMPARE(seen, pwChange);
    QCOMPARE(ReadBytes(StorePath()), std::string("\xDC\xDD\xDE"));

    AnswerPasswordForm([](TPasswordForm* form) {
      QTest::keyClicks(form->EnterPasswordEdit, "xyz");
      QTest::keyClicks(form->NewPasswordEdit, "qqq");
      TypeAndPress(form->ConfirmPasswordEdit, "qqq", Qt::Key_Escape);
    });
    RunChangePassword(folderText_, &mainWindow);
    QCOMPARE(ReadBytes(StorePath()), std::string("\xDC\xDD\xDE"));
    QVERIFY(!fs::exists(MarkerPath()));
    QVERIFY(messages_.empty());
  }

  void CloseTickClosesOnlyARefusedStart() {
    QWidget window;
    QTimer passwordTime;
    passwordTime.setInterval(100);
    window.show();
    passwordTime.start();
    PasswordTimeTick(false, &window, &passwordTime);
    QVERIFY(window.isVisible());
    QVERIFY(!passwordTime.isActive());
    PasswordTimeTick(true, &window, &passwordTime);
    QVERIFY(!window.isVisible());
  }
};

QTEST_MAIN(PasswordAccessTest)
#include "password_access_test.moc"
