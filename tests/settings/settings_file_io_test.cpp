#include "settings/settings_file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void Put(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class SettingsFileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("zelta-settings-io-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder, ignored);
  }
  // Nothing but the named files is left in the folder.
  void ExpectOnlyFiles(std::initializer_list<const char*> names) {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      ++count;
      EXPECT_NE(std::find_if(names.begin(), names.end(),
                             [&](const char* n) { return entry.path().filename() == n; }),
                names.end())
          << "left behind: " << entry.path();
    }
    EXPECT_EQ(count, names.size());
  }
  fs::path folder;
};

TEST_F(SettingsFileIo, CreatesAndReplacesWholeFiles) {
  const fs::path target = folder / "lobby.TXT";
  ASSERT_TRUE(ReplaceFile(target.string(), "first\r\n").ok);
  EXPECT_EQ(Contents(target), "first\r\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const FileOutcome second = ReplaceFile(target.string(), "second");
  ASSERT_TRUE(second.ok) << second.reason;
  EXPECT_EQ(Contents(target), "second");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ExpectOnlyFiles({"lobby.TXT"});
}

TEST_F(SettingsFileIo, ReadOnlyFileIsLeftIntact) {
  const fs::path target = folder / "locked.TXT";
  Put(target, "old contents");
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const FileOutcome outcome = ReplaceFile(target.string(), "new");
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "Permission denied");
  EXPECT_EQ(Contents(target), "old contents");
  ExpectOnlyFiles({"locked.TXT"});
}

TEST_F(SettingsFileIo, WritesThroughALinkToTheFileItNames) {
  const fs::path real = folder / "real.TXT";
  const fs::path link = folder / "link.TXT";
  Put(real, "old");
  fs::create_symlink(real, link);
  ASSERT_TRUE(ReplaceFile(link.string(), "new").ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(real), "new");
}

TEST_F(SettingsFileIo, FailuresGiveAReason) {
  FileOutcome outcome = ReplaceFile((folder / "no such folder" / "x.TXT").string(), "x");
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "No such file or directory");
  outcome = ReplaceFile(folder.string(), "x");
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "Is a directory");

  std::vector<std::string> lines = {"untouched"};
  outcome = ReadFileLines((folder / "missing.TXT").string(), 18, lines);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "No such file or directory");
  outcome = ReadFileLines(folder.string(), 18, lines);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.reason, "Is a directory");
  EXPECT_EQ(lines, std::vector<std::string>{"untouched"});
  ExpectOnlyFiles({});
}

// Asked before a camera is read, so a file that can not be saved costs no line time.
TEST_F(SettingsFileIo, TargetIsCheckedBeforeTheBytesExist) {
  const fs::path file = folder / "lobby.TXT";
  EXPECT_TRUE(CheckReplaceTarget(file.string()).ok);
  Put(file, "old");
  EXPECT_TRUE(CheckReplaceTarget(file.string()).ok);
  EXPECT_EQ(CheckReplaceTarget((folder / "none" / "x.TXT").string()).reason,
            "No such file or directory");
  EXPECT_EQ(CheckReplaceTarget(folder.string()).reason, "Is a directory");
  EXPECT_EQ(CheckReplaceTarget((file / "x.TXT").string()).reason, "Not a directory");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(CheckReplaceTarget((folder / "fifo").string()).ok);
  EXPECT_FALSE(CheckReplaceTarget("/dev/null").ok);
  fs::create_symlink("/dev/null", folder / "link");
  EXPECT_FALSE(CheckReplaceTarget((folder / "link").string()).ok);
  if (::geteuid() != 0) {
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(CheckReplaceTarget((folder / "new.TXT").string()).reason, "Permission denied");
  }
  EXPECT_EQ(Contents(file), "old");
}

TEST_F(SettingsFileIo, ReadsOnlyTheLinesAskedFor) {
  const fs::path file = folder / "big.TXT";
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "line " + std::to_string(i) + "\r\n";
  Put(file, text);
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadFileLines(file.string(), 18, lines).ok);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[0], "line 0");
  EXPECT_EQ(lines[17], "line 17");
}

}  // namespace
