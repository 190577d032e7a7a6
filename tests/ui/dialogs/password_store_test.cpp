// The password store and the order of the OK checks, without widgets.
#include "ui/dialogs/password_store.h"

#include <sys/resource.h>

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path Folder(const QTemporaryDir& dir) {
  return fs::path(dir.path().toStdString());
}

const std::u16string kPreset = u"MAVROQ";

}  // namespace

class PasswordStoreTest : public QObject {
  Q_OBJECT

 private slots:
  void ShiftsEachCharacterByAHundred() {
    QCOMPARE(EncodePassword(u"abc"), std::string("\xC5\xC6\xC7"));  // 197 198 199
    QVERIFY(DecodePassword("\xC5\xC6\xC7") == u"abc");
    std::u16string printable;
    for (char16_t c = 32; c <= 126; ++c) printable.push_back(c);
    const std::string bytes = EncodePassword(printable);
    QCOMPARE(static_cast<unsigned char>(bytes.front()), 132u);
    QCOMPARE(static_cast<unsigned char>(bytes.back()), 226u);
    QVERIFY(DecodePassword(bytes) == printable);
    // The shift wraps modulo 256 both ways.
    QCOMPARE(EncodePassword(u"\u00C8"), std::string("\x2C"));  // 200 + 100 - 256 = 44
    QVERIFY(DecodePassword("\x2C") == u"\u00C8");
  }

  void ReadingStopsAtByteFF() {
    QVERIFY(DecodePassword("\xC5\xFF\xC6") == u"a");
    QVERIFY(DecodePassword("\xFF\xC5").empty());
  }

  void RefusesCharactersTheStoreCannotCarry() {
    // Shifted to 0xFF, 0x00, 0x0A, 0x0D, 0x1A.
    const std::u16string refused = {155, 156, 166, 169, 182};
    for (char16_t c = 0; c <= 255; ++c) {
      const bool expected = refused.find(c) == std::u16string::npos;
      QVERIFY2(IsStorablePasswordChar(c) == expected, qPrintable(QString::number(c)));
      if (expected) QVERIFY(DecodePassword(EncodePassword(std::u16string(1, c))).size() == 1);
    }
    QVERIFY(!IsStorablePasswordChar(u'\u0100'));
    QVERIFY(!IsStorablePasswordChar(u'\u20AC'));
    QVERIFY(IsStorablePassword(u"Abc 123~"));
    QVERIFY(!IsStorablePassword(u"ab\u00A9"));
  }

  void WritesTheShiftedBytesOnlyAndTruncates() {
    QTemporaryDir dir;
    const fs::path folder = Folder(dir);
    QVERIFY(WriteStoredPassword(folder, u"abcdef"));
    QVERIFY(WriteStoredPassword(folder, u"abc"));
    QCOMPARE(ReadBytes(folder / "data.dat"), std::string("\xC5\xC6\xC7"));
    const auto stored = ReadStoredPassword(folder);
    QVERIFY(stored && *stored == u"abc");
    QVERIFY(IsPasswordStoreReadable(folder));
  }

  void AFailedWriteKeepsTheOldPasswordAndOnlyTheOwnerReadsTheStore() {
    QTemporaryDir dir;
    const fs::path folder = Folder(dir);
    QVERIFY(WriteStoredPassword(folder, u"abc"));
    QCOMPARE(fs::status(folder / "data.dat").permissions(),
             fs::perms::owner_read | fs::perms::owner_write);
    // A disk that fills after two bytes; root is no exception to a file size limit.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
    rlimit tight = before;
    tight.rlim_cur = 2;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
    const bool written = WriteStoredPassword(folder, u"abcdef");
    QVERIFY(setrlimit(RLIMIT_FSIZE, &before) == 0);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    const auto stored = ReadStoredPassword(folder);
    QVERIFY(stored && *stored == u"abc");
    QCOMPARE(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1L);
  }

  void UnreadableOrUnwritableStore() {
    QTemporaryDir dir;
    const fs::path folder = Folder(dir);
    QVERIFY(!ReadStoredPassword(folder));
    QVERIFY(!IsPasswordStoreReadable(folder));
    fs::create_directory(folder / "data.dat");
    QVERIFY(!ReadStoredPassword(folder));
    QVERIFY(!IsPasswordStoreReadable(folder));
    QVERIFY(!WriteStoredPassword(folder, u"abc"));
    QVERIFY(!WriteStoredPassword(folder / "missing", u"abc"));
  }

  void StartupPathFollowsTheFiles() {
    QTemporaryDir dir;
    const fs::path folder = Folder(dir);
    QCOMPARE(ChooseStartupAccess(folder), saFileError);

    QVERIFY(CreateNewPasswordMarker(folder));
    QCOMPARE(fs::file_size(folder / "newdata.dat"), std::uintmax_t{0});
    WriteBytes(folder / "data.dat", "\xC5");
    QCOMPARE(ChooseStartupAccess(folder), saSetNew);  // the marker wins over the store
    QVERIFY(!fs::exists(folder / "newdata.dat"));
    QCOMPARE(ChooseStartupAccess(folder), saEnter);

    // A marker that cannot be deleted counts as absent.
    fs::create_directories(folder / "newdata.dat" / "inside");
    QCOMPARE(ChooseStartupAccess(folder), saEnter);
    fs::remove(folder / "data.dat");
    QCOMPARE(ChooseStartupAccess(folder), saFileError);
    QVERIFY(!CreateNewPasswordMarker(folder));
  }

  void CurrentPasswordIsExactStoredOrPreset() {
    const std::optional<std::u16string> stored = u"Secret";
    QVERIFY(CurrentPasswordPasses(u"Secret", stored, kPreset));
    QVERIFY(!CurrentPasswordPasses(u"sECRET", stored, kPreset));
    QVERIFY(!CurrentPasswordPasses(u"Secre", stored, kPreset));
    QVERIFY(!CurrentPasswordPasses(u"Secret ", stored, kPreset));
    QVERIFY(CurrentPasswordPasses(u"MAVROQ", stored, kPreset));
    QVERIFY(!CurrentPasswordPasses(u"mavroq", stored, kPreset));
    // Unreadable or empty store: only the preset passes.
    QVERIFY(!CurrentPasswordPasses(u"Secret", std::nullopt, kPreset));
    QVERIFY(CurrentPasswordPasses(u"MAVROQ", std::nullopt, kPreset));
    QVERIFY(!CurrentPasswordPasses(u"", std::u16string(), kPreset));
  }

  void OkChecksInTheirOrder() {
    const std::optional<std::u16string> stored = u"old";
    // Set new: mismatch before empty, then unstorable characters, then store.
    QCOMPARE(CheckPasswordOk(pwSetNew, u"", u"", u"x", std::nullopt, kPreset), poMismatch);
    QCOMPARE(CheckPasswordOk(pwSetNew, u"", u"a", u"A", std::nullopt, kPreset), poMismatch);
    QCOMPARE(CheckPasswordOk(pwSetNew, u"", u"", u"", std::nullopt, kPreset), poEmpty);
    QCOMPARE(CheckPasswordOk(pwSetNew, u"", u"a\u00B6", u"a\u00B6", std::nullopt, kPreset),
             poUnstorable);
    QCOMPARE(CheckPasswordOk(pwSetNew, u"", u"new", u"new", std::nullopt, kPreset), poStore);
    // Change: the current password comes first of all.
    QCOMPARE(CheckPasswordOk(pwChange, u"bad", u"a", u"b", stored, kPreset), poWrongPassword);
    QCOMPARE(CheckPasswordOk(pwChange, u"bad", u"", u"", stored, kPreset), poWrongPassword);
    QCOMPARE(CheckPasswordOk(pwChange, u"old", u"a", u"b", stored, kPreset), poMismatch);
    QCOMPARE(CheckPasswordOk(pwChange, u"old", u"", u"", stored, kPreset), poEmpty);
    QCOMPARE(CheckPasswordOk(pwChange, u"MAVROQ", u"n", u"n", stored, kPreset), poStore);
    // Enter: only the current password counts.
    QCOMPARE(CheckPasswordOk(pwEnter, u"OLD", u"", u"", stored, kPreset), poWrongPassword);
    QCOMPARE(CheckPasswordOk(pwEnter, u"old", u"a", u"b", stored, kPreset), poAccept);
  }
};

QTEST_GUILESS_MAIN(PasswordStoreTest)
#include "password_store_test.moc"
