#include "settings/settings_file_io.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/private_folder.h"
#include "tests/settings/file_size_limit.h"

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
  EXPECT_TRUE(CheckReplaceable(file.string()).ok);
  Put(file, "old");
  EXPECT_TRUE(CheckReplaceable(file.string()).ok);
  EXPECT_EQ(CheckReplaceable((folder / "none" / "x.TXT").string()).reason,
            "No such file or directory");
  EXPECT_EQ(CheckReplaceable(folder.string()).reason, "Is a directory");
  EXPECT_EQ(CheckReplaceable((file / "x.TXT").string()).reason, "Not a directory");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(CheckReplaceable((folder / "fifo").string()).ok);
  EXPECT_FALSE(CheckReplaceable("/dev/null").ok);
  fs::create_symlink("/dev/null", folder / "link");
  EXPECT_FALSE(CheckReplaceable((folder / "link").string()).ok);
  if (::geteuid() != 0) {
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(CheckReplaceable((folder / "new.TXT").string()).reason, "Permission denied");
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

TEST_F(SettingsFileIo, ReplacesOnlyRegularFiles) {
  const fs::path fifo = folder / "fifo.TXT";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, folder / "to-fifo.TXT");
  const fs::path socketPath = folder / "socket.TXT";
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::pair<fs::path, const char*> cases[] = {
      {fifo, "Not a regular file: a FIFO (named pipe)"},
      {folder / "to-fifo.TXT", "Not a regular file: a FIFO (named pipe)"},
      {socketPath, "Not a regular file: a socket"},
  };
  for (const auto& [path, reason] : cases) {
    EXPECT_EQ(CheckReplaceable(path.string()).reason, reason);
    EXPECT_EQ(ReplaceFile(path.string(), "x").reason, reason);
  }
  ::close(listener);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_socket(socketPath));
  ExpectOnlyFiles({"fifo.TXT", "to-fifo.TXT", "socket.TXT"});
  // Only looked at, never written: a device node.
  EXPECT_EQ(CheckReplaceable("/dev/full").reason, "Not a regular file: a device");
  EXPECT_TRUE(CheckReplaceable((folder / "new.TXT").string()).ok);
  EXPECT_EQ(CheckReplaceable((folder / "none" / "new.TXT").string()).reason,
            "No such file or directory");
}

TEST_F(SettingsFileIo, AFullDiskLeavesTheOldFileAndNoNewOne) {
  const fs::path old = folder / "old.TXT";
  Put(old, "old contents");
  const std::string big(64 * 1024, 'x');
  {
    const FileSizeLimit full(1024);
    EXPECT_EQ(ReplaceFile(old.string(), big).reason, "File too large");
    EXPECT_EQ(ReplaceFile((folder / "new.TXT").string(), big).reason, "File too large");
  }
  EXPECT_EQ(Contents(old), "old contents");
  ExpectOnlyFiles({"old.TXT"});
}

TEST_F(SettingsFileIo, OwnFilesAreNeverReachedThroughALink) {
  const fs::path outside = folder / "outside";
  Put(outside, "keep");
  fs::create_symlink(outside, folder / "Port.dat");
  fs::create_symlink(folder / "nowhere", folder / "newdata.dat");
  const std::string link = "Not a regular file: a symbolic link";
  std::string bytes = "untouched";
  EXPECT_EQ(ReplaceOwnFile((folder / "Port.dat").string(), "Port&0").reason, link);
  EXPECT_EQ(ReadOwnFile((folder / "Port.dat").string(), bytes).reason, link);
  EXPECT_EQ(CreateOwnFile((folder / "newdata.dat").string()).reason, link);
  EXPECT_EQ(Contents(outside), "keep");
  EXPECT_EQ(bytes, "untouched");
  ExpectOnlyFiles({"outside", "Port.dat", "newdata.dat"});

  // A FIFO neither blocks nor is read; a huge file is refused unread.
  ASSERT_EQ(::mkfifo((folder / "data.dat").c_str(), 0600), 0);
  EXPECT_EQ(ReadOwnFile((folder / "data.dat").string(), bytes).reason,
            "Not a regular file: a FIFO (named pipe)");
  Put(folder / "big.dat", std::string(kMaxOwnFileBytes + 1, 'x'));
  EXPECT_EQ(ReadOwnFile((folder / "big.dat").string(), bytes).reason, "File too large");
  Put(folder / "small.dat", std::string(kMaxOwnFileBytes, 'y'));
  ASSERT_TRUE(ReadOwnFile((folder / "small.dat").string(), bytes).ok);
  EXPECT_EQ(bytes, std::string(kMaxOwnFileBytes, 'y'));
}

TEST_F(SettingsFileIo, AFolderOfItsOwnIsMadePrivateAnotherUsersIsRefused) {
  const fs::path own = folder / "zelta";
  fs::create_directory(own);
  fs::permissions(own, fs::perms::all);
  EXPECT_EQ(MakeFolderPrivate(own.string()), "");
  EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);
  EXPECT_EQ(MakeFolderPrivate((folder / "missing").string()), "");
  Put(folder / "file", "");
  EXPECT_NE(MakeFolderPrivate((folder / "file").string()), "");
  // Another user's: the test's own folder given away when running as root.
  fs::path theirs = "/";
  if (::geteuid() == 0) {
    theirs = folder / "theirs";
    fs::create_directory(theirs);
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
  }
  EXPECT_EQ(
      MakeFolderPrivate(theirs.string()),
      "ZELTA does not use the folder \"" + theirs.string() + "\": it belongs to another user.");
}

}  // namespace
