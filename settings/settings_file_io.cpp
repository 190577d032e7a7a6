#include "settings/settings_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "settings/text_line_splitter.h"

namespace {

FileOutcome Failed(int error) {
  return {false, std::generic_category().message(error)};
}

// An open descriptor, closed when it goes; a named (temporary) file is also
// removed then, unless released.
class OwnedFile {
 public:
  OwnedFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  ~OwnedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Closes the descriptor; returns the error number or 0.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }
  void Release() { path_.clear(); }

 private:
  int fd_;
  std::string path_;
};

int WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

// A new file in the target's folder, named after the target, that no one
// else has, with `mode` from the start.
int CreateTempBeside(const std::string& target, mode_t mode, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + "." + name + "." + std::to_string(::getpid()) + "." +
               std::to_string(counter++) + ".tmp";
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

FileOutcome RegularFile(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return Failed(EISDIR);
  if (S_ISFIFO(info.st_mode)) return {false, "Not a regular file: a FIFO (named pipe)"};
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
    return {false, "Not a regular file: a device"};
  }
  if (S_ISSOCK(info.st_mode)) return {false, "Not a regular file: a socket"};
  if (!S_ISREG(info.st_mode)) return {false, "Not a regular file"};
  return {};
}

const FileOutcome kLinkRefused{false, "Not a regular file: a symbolic link"};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that replacing `path` would replace, and whether it is there.
struct ReplaceTarget {
  std::string path;
  bool exists = false;
  mode_t mode = 0;
};

FileOutcome FindTarget(const std::string& path, bool followLink, ReplaceTarget& target) {
  if (path.empty()) return Failed(ENOENT);
  target.path = path;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (S_ISLNK(info.st_mode)) {
      if (!followLink) return kLinkRefused;
      // Renaming over a link would replace the link, not the file it names.
      char* resolved = ::realpath(path.c_str(), nullptr);
      if (!resolved) return Failed(errno);
      target.path = resolved;
      std::free(resolved);
      if (::lstat(target.path.c_str(), &info) != 0) return Failed(errno);
    }
    if (const FileOutcome kind = RegularFile(info); !kind.ok) return kind;
    if (::access(target.path.c_str(), W_OK) != 0) return Failed(errno);
    // A read-only file stays as it is, even for a user who could replace it.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Failed(EACCES);
    target.exists = true;
    target.mode = info.st_mode & 07777;
    return {};
  }
  if (errno != ENOENT) return Failed(errno);
  if (::access(FolderOf(path).c_str(), W_OK | X_OK) != 0) return Failed(errno);
  return {};
}

FileOutcome Replace(const std::string& path, const std::string& bytes, std::optional<unsigned> mode,
                    bool followLink) {
  ReplaceTarget target;
  if (const FileOutcome found = FindTarget(path, followLink, target); !found.ok) return found;
  // A new file gets the usual rights, less the umask; the temporary file of
  // one that must or does have other rights starts owner-only, then gets them.
  const mode_t startMode = mode ? static_cast<mode_t>(*mode & 0600) : target.exists ? 0600 : 0666;
  std::string tempPath;
  const int fd = CreateTempBeside(target.path, startMode, tempPath);
  if (fd < 0) return Failed(errno);
  OwnedFile temp(fd, tempPath);
  if (mode) {
    if (::fchmod(temp.fd(), static_cast<mode_t>(*mode)) != 0) return Failed(errno);
  } else if (target.exists && ::fchmod(temp.fd(), target.mode) != 0) {
    return Failed(errno);
  }
  if (const int error = WriteAll(temp.fd(), bytes)) return Failed(error);
  if (::fsync(temp.fd()) != 0) return Failed(errno);
  if (const int error = temp.Close()) return Failed(error);
  // Whatever took the file's place meanwhile is left alone unless it too is
  // a regular file (or, for a link that is followed, gone).
  struct stat now {};
  if (::lstat(target.path.c_str(), &now) == 0) {
    if (!followLink && S_ISLNK(now.st_mode)) return kLinkRefused;
    if (const FileOutcome kind = RegularFile(now); !kind.ok) return kind;
  }
  if (::rename(temp.path().c_str(), target.path.c_str()) != 0) return Failed(errno);
  temp.Release();
  return {};
}

}  // namespace

FileOutcome ReplaceFile(const std::string& path, const std::string& bytes,
                        std::optional<unsigned> mode) {
  return Replace(path, bytes, mode, true);
}

FileOutcome ReplaceOwnFile(const std::string& path, const std::string& bytes,
                           std::optional<unsigned> mode) {
  return Replace(path, bytes, mode, false);
}

FileOutcome CheckReplaceable(const std::string& path) {
  ReplaceTarget target;
  return FindTarget(path, true, target);
}

FileOutcome ReadOwnFile(const std::string& path, std::string& bytes) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return Failed(errno);
  if (S_ISLNK(info.st_mode)) return kLinkRefused;
  if (const FileOutcome kind = RegularFile(info); !kind.ok) return kind;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return Failed(errno);
  OwnedFile file(fd, {});
  if (::fstat(file.fd(), &info) != 0) return Failed(errno);
  if (const FileOutcome kind = RegularFile(info); !kind.ok) return kind;
  if (info.st_size > static_cast<off_t>(kMaxOwnFileBytes)) return Failed(EFBIG);
  std::string text(kMaxOwnFileBytes + 1, '\0');
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::read(file.fd(), &text[done], text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(errno);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  // It grew since it was measured.
  if (done > kMaxOwnFileBytes) return Failed(EFBIG);
  text.resize(done);
  bytes = std::move(text);
  return {};
}

FileOutcome CreateOwnFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (S_ISLNK(info.st_mode)) return kLinkRefused;
    return RegularFile(info);
  }
  if (errno != ENOENT) return Failed(errno);
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600);
  if (fd < 0) return Failed(errno);
  OwnedFile file(fd, {});
  if (const int error = file.Close()) return Failed(error);
  return {};
}

FileOutcome ReadFileLines(const std::string& path, size_t maxLines,
                          std::vector<std::string>& lines) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Failed(errno);
  if (const FileOutcome kind = RegularFile(info); !kind.ok) return kind;
  // Not blocking: whatever replaced the file since must not hang the window.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Failed(errno);
  OwnedFile file(fd, {});
  if (::fstat(file.fd(), &info) != 0) return Failed(errno);
  if (const FileOutcome kind = RegularFile(info); !kind.ok) return kind;
  TextLineSplitter splitter(maxLines, kMaxSettingsLineBytes);
  char buffer[8192];
  while (!splitter.Full()) {
    const ssize_t n = ::read(file.fd(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(errno);
    }
    if (n == 0) break;
    splitter.Feed(buffer, static_cast<size_t>(n));
  }
  if (splitter.LineTooLong()) return {false, {}, true};
  lines = splitter.Finish();
  return {};
}
