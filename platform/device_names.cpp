#include "platform/device_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

std::string ExecutableFolder() {
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return ".";
  std::string path(buf.data(), static_cast<size_t>(n));
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ResolveSerialDeviceName(const std::string& name, const std::string& programFolder) {
  const char* fallback = nullptr;
  if (name == "Com1") fallback = "/dev/ttyS0";
  if (name == "Com2") fallback = "/dev/ttyS1";
  if (fallback == nullptr) return name;
  const std::string local = programFolder + "/" + name;
  struct stat st {};
  // lstat: a link to a device that is gone still names this port.
  if (lstat(local.c_str(), &st) == 0) return local;
  return fallback;
}

std::string LinkSerialDeviceName(const std::string& name, const std::string& programFolder,
                                 const std::string& device) {
  const std::string local = programFolder + "/" + name;
  struct stat st {};
  if (lstat(local.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    return local + " is not a symbolic link";
  }
  // A new link renamed over the old one: the name never goes missing.
  const std::string fresh = local + ".new";
  unlink(fresh.c_str());
  if (symlink(device.c_str(), fresh.c_str()) != 0 || rename(fresh.c_str(), local.c_str()) != 0) {
    const std::string failure = std::strerror(errno);
    unlink(fresh.c_str());
    return "cannot link " + local + ": " + failure;
  }
  return {};
}
