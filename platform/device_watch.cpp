#include "platform/device_watch.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace {

// Links followed at most, as the kernel's own limit.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The nearest folder at or above `folder` that exists.
std::string NearestExisting(std::string folder) {
  struct stat st {};
  while (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    if (folder == "/" || folder == ".") return folder;
    folder = FolderOf(folder);
  }
  return folder;
}

// Where the link at `path` points, as a path; empty when it is no link.
std::string LinkTarget(const std::string& path) {
  char buf[PATH_MAX];
  const ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string target(buf, static_cast<size_t>(n));
  if (target[0] != '/') target = FolderOf(path) + "/" + target;
  return target;
}

}  // namespace

bool DevicePresent(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

std::vector<std::string> FoldersAlong(const std::string& path) {
  std::vector<std::string> folders;
  std::string name = path;
  for (int i = 0; i < kMaxLinks && !name.empty(); ++i) {
    const std::string folder = NearestExisting(FolderOf(name));
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
    name = LinkTarget(name);
  }
  return folders;
}

DeviceWatch::DeviceWatch(std::string path) : path_(std::move(path)) {
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  Arm();
}

DeviceWatch::~DeviceWatch() {
  if (fd_ >= 0) close(fd_);
}

void DeviceWatch::Arm() {
  if (fd_ < 0) return;
  for (const int watch : watches_) inotify_rm_watch(fd_, watch);
  watches_.clear();
  constexpr uint32_t kEntries = IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM | IN_ATTRIB |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  for (const std::string& folder : FoldersAlong(path_)) {
    const int watch = inotify_add_watch(fd_, folder.c_str(), kEntries);
    if (watch >= 0) watches_.push_back(watch);
  }
}

void DeviceWatch::Drain() {
  if (fd_ < 0) return;
  alignas(inotify_event) char buf[4096];
  bool changed = false;
  for (;;) {
    const ssize_t n = read(fd_, buf, sizeof buf);
    if (n > 0) {
      changed = true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;
  }
  // A new link or folder on the way is watched from now on.
  if (changed) Arm();
}

bool DeviceWatch::Present() const {
  return DevicePresent(path_);
}
