#include "tests/comm/support/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("no slave name");
  slavePath_ = name;
}

PseudoTerminal::~PseudoTerminal() {
  CloseMaster();
}

void PseudoTerminal::CloseMaster() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PseudoTerminal::Write(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      throw std::runtime_error("master write failed");
    } else {
      pollfd p{master_, POLLOUT, 0};
      poll(&p, 1, 100);
    }
  }
}

std::vector<uint8_t> PseudoTerminal::Read(size_t count, std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + timeout;
  std::vector<uint8_t> out;
  while (out.size() < count) {
    uint8_t buf[256];
    const size_t want = std::min(sizeof buf, count - out.size());
    const ssize_t n = ::read(master_, buf, want);
    if (n > 0) {
      out.insert(out.end(), buf, buf + n);
      continue;
    }
    if (n < 0 && errno == EIO) break;  // slave not open (any more)
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    pollfd p{master_, POLLIN, 0};
    poll(&p, 1, static_cast<int>(left));
  }
  return out;
}

std::vector<uint8_t> PseudoTerminal::Drain(std::chrono::milliseconds timeout) {
  return Read(1 << 16, timeout);
}

termios PseudoTerminal::SlaveTermios() const {
  termios t{};
  tcgetattr(master_, &t);
  return t;
}

void PseudoTerminal::SetSlaveTermios(const termios& t) {
  tcsetattr(master_, TCSANOW, &t);
}

speed_t PseudoTerminal::SlaveSpeed() const {
  const termios t = SlaveTermios();
  return cfgetospeed(&t);
}
