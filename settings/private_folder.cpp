#include "settings/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

std::string Refused(const std::string& folder, const std::string& why) {
  return "ZELTA does not use the folder \"" + folder + "\": " + why + ".";
}

}  // namespace

std::string MakeFolderPrivate(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    return Refused(folder, std::generic_category().message(errno));
  }
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  const int statError = errno;
  std::string problem;
  if (!known) {
    problem = Refused(folder, std::generic_category().message(statError));
  } else if (info.st_uid != ::geteuid()) {
    problem = Refused(folder, "it belongs to another user");
  } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && ::fchmod(fd, 0700) != 0) {
    problem = Refused(folder, "others may write in it and it cannot be made private (" +
                                  std::generic_category().message(errno) + ")");
  }
  ::close(fd);
  return problem;
}
