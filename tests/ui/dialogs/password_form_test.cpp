// The password dialog driven by keys and clicks, offscreen.
#include "ui/dialogs/password_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

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

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Types any characters, including those QTest::keyClicks cannot spell.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

const char kWrong[] = "The password is error.";
const char kMismatch[] = "New Pssword is not equal to Confirm Password.";
const char kEmpty[] = "Must set the password.";

}  // namespace

class PasswordFormTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  fs::path folder_;
  std::vector<Message> messages_;

  fs::path StorePath() const { return folder_ / "data.dat"; }
  fs::path MarkerPath() const { return folder_ / "newdata.dat"; }

  // A dialog in `mode`, shown (not modal) so that keys reach it.
  std::unique_ptr<TPasswordForm> Open(TPasswordMode mode) {
    auto form = std::make_unique<TPasswordForm>(dir_->path());
    form->SetPasswordMode(mode);
    form->show();
    return form;
  }

  void ExpectMessages(const std::vector<QString>& texts) {
    QCOMPARE(static_cast<int>(messages_.size()), static_cast<int>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i) QCOMPARE(messages_[i].text, texts[i]);
    messages_.clear();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    folder_ = fs::path(dir_->path().toStdString());
    messages_.clear();
    SetMessageInterceptor([this](const QString& text, const QString& caption, MessageIcon icon) {
      messages_.push_back({text, caption, icon});
    });
  }

  void cleanup() { SetMessageInterceptor(nullptr); }

  void LayoutOfEachMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("enterShown");
    QTest::addColumn<bool>("newShown");
    QTest::addColumn<int>("height");
    QTest::newRow("set new") << int{pwSetNew} << false << true << 105;
    QTest::newRow("enter") << int{pwEnter} << true << false << 85;
    QTest::newRow("change") << int{pwChange} << true << true << 155;
  }

  void LayoutOfEachMode() {
    QFETCH(int, mode);
    QFETCH(bool, enterShown);
    QFETCH(bool, newShown);
    QFETCH(int, height);
    auto form = Open(static_cast<TPasswordMode>(mode));
    QCOMPARE(form->windowTitle(), QString("Password Form"));
    QCOMPARE(form->height(), height);
    QCOMPARE(form->EnterPasswordLabel->isVisible(), enterShown);
    QCOMPARE(form->EnterPasswordEdit->isVisible(), enterShown);
    QCOMPARE(form->NewPasswordEdit->isVisible(), newShown);
    QCOMPARE(form->ConfirmPasswordLabel->isVisible(), newShown);
    QCOMPARE(form->ConfirmPasswordEdit->isVisible(), newShown);
    QVERIFY(form->OkButton->isVisible() && form->CancelButton->isVisible());
    QVERIFY(!form->GlobalsPasswordEdit->isVisible());
    QCOMPARE(form->OkButton->text(), QString("OK"));
    QCOMPARE(form->CancelButton->text(), QString("CANCEL"));
    QCOMPARE(form->focusWidget(), enterShown ? static_cast<QWidget*>(form->EnterPasswordEdit)
                                             : static_cast<QWidget*>(form->OkButton));
    for (QLineEdit* edit :
         {form->EnterPasswordEdit, form->NewPasswordEdit, form->ConfirmPasswordEdit}) {
      QCOMPARE(edit->echoMode(), QLineEdit::Password);
      QCOMPARE(edit->maxLength(), 15);
      QCOMPARE(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit),
               int{'*'});
    }
    switch (mode) {
      case pwSetNew:
        QCOMPARE(form->NewPasswordLabel->pos(), QPoint(24, 8));
        QCOMPARE(form->NewPasswordEdit->pos(), QPoint(24, 24));
        QCOMPARE(form->ConfirmPasswordLabel->pos(), QPoint(24, 56));
        QCOMPARE(form->ConfirmPasswordEdit->pos(), QPoint(24, 72));
        QCOMPARE(form->OkButton->pos(), QPoint(160, 24));
        break;
      case pwEnter:
        QCOMPARE(form->EnterPasswordEdit->geometry(), QRect(24, 24, 170, 24));
        QCOMPARE(form->OkButton->pos(), QPoint(24, 56));
        QCOMPARE(form->CancelButton->pos(), QPoint(124, 56));
        break;
      default:
        QCOMPARE(form->EnterPasswordEdit->geometry(), QRect(24, 24, 121, 24));
        QCOMPARE(form->NewPasswordEdit->pos(), QPoint(24, 72));
        QCOMPARE(form->ConfirmPasswordEdit->pos(), QPoint(24, 120));
        QCOMPARE(form->CancelButton->pos(), QPoint(160, 72));
        break;
    }
  }

  void EditsTakeAtMostFifteenCharacters() {
    auto form = Open(pwChange);
    QTest::keyClicks(form->NewPasswordEdit, "abcdefghijklmnopqrst");
    QCOMPARE(form->NewPasswordEdit->text(), QString("abcdefghijklmno"));
  }

  void SetNewStoresThePasswordOnEnter() {
    auto form = Open(pwSetNew);
    QTest::keyClicks(form->NewPasswordEdit, "abc");
    QTest::keyClicks(form->ConfirmPasswordEdit, "abc");
    QTest::keyClick(form->ConfirmPasswordEdit, Qt::Key_Return);
    ExpectMessages({});
    QVERIFY(form->Accepted());
    QVERIFY(!form->isVisible());
    QVERIFY(!form->CloseRequested());
    QCOMPARE(ReadBytes(StorePath()), std::string("\xC5\xC6\xC7"));
    QVERIFY(!fs::exists(MarkerPath()));
  }

  void SetNewRefusesMismatchThenEmpty() {
    auto form = Open(pwSetNew);
    QTest::keyClicks(form->ConfirmPasswordEdit, "x");
    QTest::keyClick(form->NewPasswordEdit, Qt::Key_Enter);
    QCOMPARE(messages_.at(0).caption, QString("ERROR"));
    QCOMPARE(messages_.at(0).icon, MessageIcon::Error);
    ExpectMessages({kMismatch});
    QCOMPARE(form->ConfirmPasswordEdit->text(), QString("x"));  // left as typed
    form->ConfirmPasswordEdit->clear();
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    QCOMPARE(messages_.at(0).caption, QString("INFORMATION"));
    QCOMPARE(messages_.at(0).icon, MessageIcon::None);
    ExpectMessages({kEmpty});
    // The focused OK button answers Enter too.
    form->OkButton->setFocus();
    QTest::keyClick(form->OkButton, Qt::Key_Return);
    ExpectMessages({kEmpty});
    QVERIFY(form->isVisible());
    QVERIFY(!form->Accepted());
    QVERIFY(!fs::exists(StorePath()));
  }

  void SetNewRefusesCharactersTheStoreCannotCarry() {
    auto form = Open(pwSetNew);
    for (const QString& text : {QString("a\u00A9"), QString("\u20AC1")}) {
      form->NewPasswordEdit->clear();
      form->ConfirmPasswordEdit->clear();
      TypeText(form->NewPasswordEdit, text);
      TypeText(form->ConfirmPasswordEdit, text);
      QCOMPARE(form->NewPasswordEdit->text(), text);
      QTest::keyClick(form->ConfirmPasswordEdit, Qt::Key_Return);
      QCOMPARE(messages_.size(), std::size_t{1});
      QCOMPARE(messages_.at(0).caption, QString("ERROR"));
      QCOMPARE(messages_.at(0).icon, MessageIcon::Error);
      messages_.clear();
      QVERIFY(form->isVisible());
      QVERIFY(!fs::exists(StorePath()));
    }
  }

  void CancellingSetNewPutsTheMarkerBack_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("escape in edit") << 0;
    QTest::newRow("cancel button") << 1;
    QTest::newRow("close box") << 2;
  }

  void CancellingSetNewPutsTheMarkerBack() {
    QFETCH(int, how);
    auto form = Open(pwSetNew);
    QTest::keyClicks(form->NewPasswordEdit, "abc");
    if (how == 0) QTest::keyClick(form->NewPasswordEdit, Qt::Key_Escape);
    if (how == 1) QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    if (how == 2) form->close();
    QVERIFY(!form->isVisible());
    QVERIFY(form->CloseRequested());
    QVERIFY(fs::exists(MarkerPath()));
    QCOMPARE(fs::file_size(MarkerPath()), std::uintmax_t{0});
    QVERIFY(!fs::exists(StorePath()));
    ExpectMessages({});
  }

  void EscapeOutsideTheEditsDoesNotClose() {
    auto form = Open(pwSetNew);
    QTest::keyClick(form->OkButton, Qt::Key_Escape);
    QVERIFY(form->isVisible());
  }

  void EnterAcceptsStoredPasswordCaseSensitively() {
    WriteBytes(StorePath(), "\xC5\xB4\xC7");  // "aPc"
    auto form = Open(pwEnter);
    QTest::keyClicks(form->EnterPasswordEdit, "ApC");
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Return);
    QCOMPARE(messages_.at(0).caption, QString("ERROR"));
    QCOMPARE(messages_.at(0).icon, MessageIcon::Error);
    ExpectMessages({kWrong});
    QCOMPARE(form->EnterPasswordEdit->text(), QString("ApC"));
    form->EnterPasswordEdit->clear();
    QTest::keyClicks(form->EnterPasswordEdit, "aPc");
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Return);
    ExpectMessages({});
    QVERIFY(form->Accepted());
    QVERIFY(!form->CloseRequested());
    QCOMPARE(ReadBytes(StorePath()), std::string("\xC5\xB4\xC7"));
  }

  void EnterTakesThePresetAndReadsTheStoreAfresh() {
    WriteBytes(StorePath(), EncodeForTest("first"));
    auto form = Open(pwEnter);
    WriteBytes(StorePath(), EncodeForTest("second"));
    QTest::keyClicks(form->EnterPasswordEdit, "first");
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Return);
    ExpectMessages({kWrong});
    // Store gone at OK: only the preset passes.
    fs::remove(StorePath());
    form->EnterPasswordEdit->clear();
    QTest::keyClicks(form->EnterPasswordEdit, "second");
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Return);
    ExpectMessages({kWrong});
    form->EnterPasswordEdit->clear();
    QTest::keyClicks(form->EnterPasswordEdit, "MAVROQ");
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Return);
    ExpectMessages({});
    QVERIFY(form->Accepted());
  }

  void CancellingEnterRequestsCloseWithoutMarker() {
    WriteBytes(StorePath(), EncodeForTest("pw"));
    auto form = Open(pwEnter);
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
    QVERIFY(form->CloseRequested());
    QVERIFY(!fs::exists(MarkerPath()));
  }

  void ChangeChecksCurrentPasswordFirst() {
    WriteBytes(StorePath(), EncodeForTest("old"));
    auto form = Open(pwChange);
    QTest::keyClicks(form->EnterPasswordEdit, "OLD");
    QTest::keyClicks(form->NewPasswordEdit, "a");
    QTest::keyClicks(form->ConfirmPasswordEdit, "b");
    QTest::keyClick(form->ConfirmPasswordEdit, Qt::Key_Return);
    ExpectMessages({kWrong});
    form->EnterPasswordEdit->clear();
    QTest::keyClicks(form->EnterPasswordEdit, "old");
    QTest::keyClick(form->EnterPasswordEdit, Qt::Key_Return);
    ExpectMessages({kMismatch});
    form->NewPasswordEdit->clear();
    form->ConfirmPasswordEdit->clear();
    QTest::keyClick(form->NewPasswordEdit, Qt::Key_Return);
    ExpectMessages({kEmpty});
    QCOMPARE(ReadBytes(StorePath()), EncodeForTest("old"));
    QTest::keyClicks(form->NewPasswordEdit, "New1");
    QTest::keyClicks(form->ConfirmPasswordEdit, "New1");
    QTest::keyClick(form->NewPasswordEdit, Qt::Key_Return);
    ExpectMessages({});
    QVERIFY(form->Accepted());
    QVERIFY(!form->CloseRequested());
    QCOMPARE(ReadBytes(StorePath()), EncodeForTest("New1"));
  }

  void PresetAuthorisesAChange() {
    WriteBytes(StorePath(), EncodeForTest("changed"));
    auto form = Open(pwChange);
    QTest::keyClicks(form->EnterPasswordEdit, "MAVROQ");
    QTest::keyClicks(form->NewPasswordEdit, "zz");
    QTest::keyClicks(form->ConfirmPasswordEdit, "zz");
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    ExpectMessages({});
    QCOMPARE(ReadBytes(StorePath()), EncodeForTest("zz"));
  }

  void CancellingChangeKeepsEverything() {
    WriteBytes(StorePath(), EncodeForTest("keep"));
    auto form = Open(pwChange);
    QTest::keyClicks(form->EnterPasswordEdit, "keep");
    QTest::keyClicks(form->NewPasswordEdit, "other");
    QTest::keyClicks(form->ConfirmPasswordEdit, "other");
    QTest::keyClick(form->ConfirmPasswordEdit, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
    QVERIFY(!form->CloseRequested());
    QVERIFY(!fs::exists(MarkerPath()));
    QCOMPARE(ReadBytes(StorePath()), EncodeForTest("keep"));
  }

  void UnwritableFilesAreReported() {
    fs::create_directory(StorePath());  // "data.dat" cannot be written
    auto form = Open(pwSetNew);
    QTest::keyClicks(form->NewPasswordEdit, "abc");
    QTest::keyClicks(form->ConfirmPasswordEdit, "abc");
    QTest::keyClick(form->ConfirmPasswordEdit, Qt::Key_Return);
    QCOMPARE(messages_.size(), std::size_t{1});
    QCOMPARE(messages_.at(0).caption, QString("ERROR"));
    QVERIFY(messages_.at(0).text.contains("data.dat"));
    messages_.clear();
    QVERIFY(form->isVisible());
    QVERIFY(!form->Accepted());

    fs::create_directories(MarkerPath() / "inside");  // "newdata.dat" cannot be created
    QTest::keyClick(form->ConfirmPasswordEdit, Qt::Key_Escape);
    QCOMPARE(messages_.size(), std::size_t{1});
    QCOMPARE(messages_.at(0).caption, QString("ERROR"));
    QVERIFY(messages_.at(0).text.contains("newdata.dat"));
    QVERIFY(form->CloseRequested());
  }

 private:
  static std::string EncodeForTest(const std::string& text) {
    std::string bytes;
    for (const char c : text) bytes.push_back(static_cast<char>(c + 100));
    return bytes;
  }
};

QTEST_MAIN(PasswordFormTest)
#include "password_form_test.moc"
