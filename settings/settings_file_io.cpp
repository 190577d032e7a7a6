#include "settings/settings_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "settings/line_splitter.h"

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

// A new file in the target's folder, named after the target, that no one else has.
int CreateTempBeside(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + "." + name + "." + std::to_string(::getpid()) + "." +
               std::to_string(counter++) + ".tmp";
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

FileOutcome RegularFile(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return Failed(EISDIR);
  if (!S_ISREG(info.st_mode)) return {false, "Not a regular file"};
  return {};
}

}  // namespace

FileOutcome ReplaceFile(const std::string& path, const std::string& bytes,
                        std::optional<unsigned> mode) {
  if (path.empty()) return Failed(ENOENT);
  // Renaming over a link would replace the link, not the file it names.
  std::string target = path;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return Failed(errno);
    target = resolved;
    std::free(resolved);
  }
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists) {
    if (S_ISDIR(info.st_mode)) return Failed(EISDIR);
    if (::access(target.c_str(), W_OK) != 0) return Failed(errno);
    // A read-only file stays as it is, even for a user who could replace it.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Failed(EACCES);
  }

  std::string tempPath;
  const int fd = CreateTempBeside(target, tempPath);
  if (fd < 0) return Failed(errno);
  OwnedFile temp(fd, tempPath);
  if (mode) {
    if (::fchmod(temp.fd(), static_cast<mode_t>(*mode)) != 0) return Failed(errno);
  } else if (exists && ::fchmod(temp.fd(), info.st_mode & 07777) != 0) {
    return Failed(errno);
  }
  if (const int error = WriteAll(temp.fd(), bytes)) return Failed(error);
  if (::fsync(temp.fd()) != 0) return Failed(errno);
  if (const int error = temp.Close()) return Failed(error);
  if (::rename(temp.path().c_str(), target.c_str()) != 0) return Failed(errno);
  temp.Release();
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
  LineSplitter splitter(maxLines, kMaxSettingsLineBytes);
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

FileOutcome CheckReplaceTarget(const std::string& path) {
  const auto failed = [](int error) {
    return FileOutcome{false, std::generic_category().message(error)};
  };
  if (path.empty()) return failed(ENOENT);
  std::string target = path;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return failed(errno);
    target = resolved;
    std::free(resolved);
  }
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return failed(EISDIR);
    if (!S_ISREG(info.st_mode)) return {false, "Not a regular file"};
    if (::access(target.c_str(), W_OK) != 0) return failed(errno);
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return failed(EACCES);
  } else if (errno != ENOENT) {
    return failed(errno);
  }
  // The new file is made in the same folder and renamed into place.
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : target.substr(0, slash);
  if (::stat(folder.c_str(), &info) != 0) return failed(errno);
  if (!S_ISDIR(info.st_mode)) return failed(ENOTDIR);
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return failed(errno);
  return {};
}
