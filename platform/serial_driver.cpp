#include "platform/serial_driver.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

int SerialDriver::OutputQueue(int fd, int& bytes) {
  return ioctl(fd, TIOCOUTQ, &bytes) == 0 ? 0 : errno;
}

int SerialDriver::LineStatus(int fd, unsigned& lsr) {
  return ioctl(fd, TIOCSERGETLSR, &lsr) == 0 ? 0 : errno;
}

int SerialDriver::ModemLines(int fd, int& lines) {
  return ioctl(fd, TIOCMGET, &lines) == 0 ? 0 : errno;
}

int SerialDriver::GetSerialInfo(int fd, SerialInfo& info) {
  serial_struct s{};
  if (ioctl(fd, TIOCGSERIAL, &s) != 0) return errno;
  info.type = s.type;
  info.flags = s.flags;
  return 0;
}

int SerialDriver::SetSerialFlags(int fd, int flags) {
  serial_struct s{};
  if (ioctl(fd, TIOCGSERIAL, &s) != 0) return errno;
  s.flags = flags;
  return ioctl(fd, TIOCSSERIAL, &s) == 0 ? 0 : errno;
}

std::shared_ptr<SerialDriver> KernelSerialDriver() {
  static const auto kernel = std::make_shared<SerialDriver>();
  return kernel;
}
