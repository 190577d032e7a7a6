// Uses the kernel's termios2 so that speeds without a Bnnn constant work.
#include "platform/serial_line_settings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace {

struct SpeedCode {
  uint32_t bitsPerSecond;
  tcflag_t code;
};

constexpr SpeedCode kSpeeds[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

uint32_t SpeedOf(const termios2& t) {
  const tcflag_t code = t.c_cflag & CBAUD;
  if (code == BOTHER) return t.c_ospeed;
  for (const SpeedCode& s : kSpeeds) {
    if (s.code == code) return s.bitsPerSecond;
  }
  return t.c_ospeed;
}

void SetSpeed(termios2& t, uint32_t bitsPerSecond) {
  tcflag_t code = BOTHER;
  for (const SpeedCode& s : kSpeeds) {
    if (s.bitsPerSecond == bitsPerSecond) code = s.code;
  }
  t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | CIBAUD);  // input speed follows output
  t.c_cflag |= code;
  t.c_ospeed = bitsPerSecond;
  t.c_ispeed = bitsPerSecond;
}

int Get(int fd, termios2& t) {
  return ioctl(fd, TCGETS2, &t) == 0 ? 0 : errno;
}
int Set(int fd, const termios2& t) {
  return ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}

}  // namespace

int MakeTerminalRaw(int fd) {
  termios2 t{};
  if (const int e = Get(fd, t)) return e;
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                      IXON | IXOFF | IXANY | IUCLC | IMAXBEL | INPCK);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE | ECHOK);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  // With VMIN 0 a read without data returns 0 even on a non-blocking
  // descriptor, which looks like a hang-up; with 1 it fails with EAGAIN.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return Set(fd, t);
}

int ReadLineSettings(int fd, SerialLineSettings& s) {
  termios2 t{};
  if (const int e = Get(fd, t)) return e;
  s.BaudRate = SpeedOf(t);
  s.fBinary = true;
  s.fParity = (t.c_iflag & INPCK) != 0;
  s.fOutX = (t.c_iflag & IXON) != 0;
  s.fInX = (t.c_iflag & IXOFF) != 0;
  s.fOutxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
  if (s.fOutxCtsFlow) {
    s.fRtsControl = 2;
  } else if (s.fRtsControl == 2) {
    s.fRtsControl = 1;
  }
  switch (t.c_cflag & CSIZE) {
    case CS5:
      s.ByteSize = 5;
      break;
    case CS6:
      s.ByteSize = 6;
      break;
    case CS7:
      s.ByteSize = 7;
      break;
    default:
      s.ByteSize = 8;
      break;
  }
  if ((t.c_cflag & PARENB) == 0) {
    s.Parity = 0;
  } else if (t.c_cflag & CMSPAR) {
    s.Parity = (t.c_cflag & PARODD) ? 3 : 4;
  } else {
    s.Parity = (t.c_cflag & PARODD) ? 1 : 2;
  }
  // The UART sends one and a half stop bits for CSTOPB beside 5 data bits
  // only, two otherwise.
  if ((t.c_cflag & CSTOPB) == 0) {
    s.StopBits = 0;
  } else {
    s.StopBits = s.ByteSize == 5 ? 1 : 2;
  }
  s.XonChar = t.c_cc[VSTART];
  s.XoffChar = t.c_cc[VSTOP];
  s.EofChar = t.c_cc[VEOF];
  return 0;
}

int WriteLineSettings(int fd, const SerialLineSettings& s) {
  if (s.ByteSize < 5 || s.ByteSize > 8 || s.Parity > 4 || s.StopBits > 2 || s.BaudRate == 0) {
    return EINVAL;
  }
  termios2 t{};
  if (const int e = Get(fd, t)) return e;
  SetSpeed(t, s.BaudRate);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[s.ByteSize - 5] | CLOCAL | CREAD;
  switch (s.Parity) {
    case 1:
      t.c_cflag |= PARENB | PARODD;
      break;
    case 2:
      t.c_cflag |= PARENB;
      break;
    case 3:
      t.c_cflag |= PARENB | CMSPAR | PARODD;
      break;
    case 4:
      t.c_cflag |= PARENB | CMSPAR;
      break;
    default:
      break;
  }
  // One and a half stop bits exist only beside 5 data bits; the UART picks
  // them for CSTOPB there.
  if (s.StopBits != 0) t.c_cflag |= CSTOPB;
  if (s.fOutxCtsFlow || s.fRtsControl == 2) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF);
  if (s.fParity) t.c_iflag |= INPCK;
  if (s.fOutX) t.c_iflag |= IXON;
  if (s.fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = s.XonChar;
  t.c_cc[VSTOP] = s.XoffChar;
  t.c_cc[VEOF] = s.EofChar;
  return Set(fd, t);
}

uint32_t CharacterBits(const SerialLineSettings& s) {
  return 1u + s.ByteSize + (s.Parity != 0 ? 1u : 0u) + (s.StopBits == 0 ? 1u : 2u);
}
