#include "sim/sim_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

struct TSpeed {
  speed_t constant;
  int baud;
};

constexpr TSpeed kSpeeds[] = {
    {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
    {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
    {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
    {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800},
};

std::string Failure(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// Creates the missing folders above `path`.
void MakeParents(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    ::mkdir(path.substr(0, slash).c_str(), 0755);
  }
}

}  // namespace

int BaudOfSpeed(unsigned speed) {
  for (const TSpeed& entry : kSpeeds) {
    if (entry.constant == speed) return entry.baud;
  }
  return 0;
}

SimLine::~SimLine() {
  Close();
}

void SimLine::Close() {
  if (!link_.empty()) {
    // Only our own link is removed; someone may have replaced it meanwhile.
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link_.c_str(), target, sizeof target - 1);
    if (length > 0 && std::string(target, static_cast<size_t>(length)) == path_) {
      ::unlink(link_.c_str());
    }
  }
  if (heldSlave_ >= 0) ::close(heldSlave_);
  if (fd_ >= 0) ::close(fd_);
  heldSlave_ = -1;
  fd_ = -1;
  link_.clear();
}

std::string SimLine::OpenPty() {
  fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return Failure("cannot open a pseudo-terminal");
  if (::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0)
    return Failure("cannot unlock the pseudo-terminal");
  const char* name = ::ptsname(fd_);
  if (name == nullptr) return Failure("cannot name the pseudo-terminal");
  path_ = name;
  heldSlave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (heldSlave_ < 0) return Failure("cannot open " + path_);
  // Raw, so nothing the camera sends is echoed back or translated.
  termios settings{};
  if (::tcgetattr(heldSlave_, &settings) != 0) return Failure("cannot read the line settings");
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  if (::tcsetattr(heldSlave_, TCSANOW, &settings) != 0) {
    return Failure("cannot set the line settings");
  }
  return {};
}

std::string SimLine::OpenDevice(const std::string& path, int baud) {
  path_ = path;
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return Failure("cannot open " + path);
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? path + " is in use by another program"
                                : Failure("cannot lock " + path);
  }
  termios settings{};
  if (::tcgetattr(fd_, &settings) != 0) return Failure(path + " is not a serial port");
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
  speed_t speed = B0;
  for (const TSpeed& entry : kSpeeds) {
    if (entry.baud == baud) speed = entry.constant;
  }
  ::cfsetispeed(&settings, speed);
  ::cfsetospeed(&settings, speed);
  if (::tcsetattr(fd_, TCSANOW, &settings) != 0) return Failure("cannot set up " + path);
  ::tcflush(fd_, TCIOFLUSH);
  return {};
}

std::string SimLine::MakeLink(const std::string& linkPath) {
  struct stat info {};
  if (::lstat(linkPath.c_str(), &info) == 0) {
    if (!S_ISLNK(info.st_mode)) return linkPath + " exists and is not a symbolic link";
    if (::unlink(linkPath.c_str()) != 0) return Failure("cannot replace " + linkPath);
  }
  MakeParents(linkPath);
  if (::symlink(path_.c_str(), linkPath.c_str()) != 0) {
    return Failure("cannot create " + linkPath);
  }
  link_ = linkPath;
  return {};
}

int SimLine::CurrentBaud() const {
  // On a pty the master reports the termios the slave side has set.
  termios settings{};
  const int fd = heldSlave_ >= 0 ? heldSlave_ : fd_;
  if (fd < 0 || ::tcgetattr(fd, &settings) != 0) return 0;
  return BaudOfSpeed(::cfgetospeed(&settings));
}
