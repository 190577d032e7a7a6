#include "platform/serial_device.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/serial_event_wait.h"
#include "platform/serial_line_settings.h"
#include "platform/serial_shared.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline for poll(); -1 for none.
int PollTimeout(bool limited, Clock::time_point deadline) {
  if (!limited) return -1;
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count() + 1;
  return static_cast<int>(std::clamp<long long>(left, 0, 60000));
}

// A device that has gone (hung up: EIO; unplugged: ENODEV) has no lines to
// set either. Failing here would raise on every frame the link sends while
// the device is away; its transfers fail anyway, and the link reports that.
bool Gone(int error) {
  return error == EIO || error == ENODEV;
}

int ModemIoctl(int fd, unsigned long request, int bits) {
  if (ioctl(fd, request, &bits) == 0) return 0;
  return NotSupported(errno) || Gone(errno) ? 0 : errno;
}

}  // namespace

std::unique_ptr<SerialDevice> SerialDevice::Open(const std::string& path,
                                                 std::shared_ptr<SerialDriver> driver) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  // Every cooperating program takes this lock; TIOCEXCL alone does not stop root.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<SerialDevice> device(new SerialDevice(fd, std::move(driver)));
  if (device->IsTerminal()) {
    ioctl(fd, TIOCEXCL);
    MakeTerminalRaw(fd);
    device->RequestLowLatency();
    // Bytes left from before this opening (a late reply to the last owner)
    // are not this owner's.
    tcflush(fd, TCIFLUSH);
    ReadLineSettings(fd, device->settings_);
  }
  return device;
}

SerialDevice::SerialDevice(int fd, std::shared_ptr<SerialDriver> driver)
    : fd_(fd), shared_(std::make_shared<SerialShared>(std::move(driver))) {
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

void SerialDevice::RequestLowLatency() {
  SerialInfo info;
  // Drivers without the query (pseudo-terminals, some adapters) simply go
  // without: their transmitter flag is not trusted and nothing else changes.
  if (shared_->driver->GetSerialInfo(fd_, info) != 0) return;
  {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->exactTransmitFlag = info.type != PORT_UNKNOWN;
  }
  if (info.flags & ASYNC_LOW_LATENCY) return;
  if (shared_->driver->SetSerialFlags(fd_, info.flags | ASYNC_LOW_LATENCY) == 0) {
    restoreFlags_ = true;
    oldFlags_ = info.flags;
  }
}

SerialDevice::~SerialDevice() {
  if (restoreFlags_) shared_->driver->SetSerialFlags(fd_, oldFlags_);
  if (IsTerminal()) ioctl(fd_, TIOCNXCL);
  // An event thread that has not ended yet still holds a duplicate of this
  // descriptor; the device must be free for the next opener at once.
  flock(fd_, LOCK_UN);
  ::close(fd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

bool SerialDevice::Gone() const {
  return shared_->gone.load();
}

bool SerialDevice::NoteError(int error) {
  if (!GoneError(error, true)) return false;
  if (!shared_->gone.exchange(true) && wakeFd_ >= 0) {
    // The event wait reports it to the main thread, as every port event.
    const uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
  }
  return true;
}

bool SerialDevice::IsTerminal() const {
  struct stat st {};
  return fstat(fd_, &st) == 0 && S_ISCHR(st.st_mode) && isatty(fd_) == 1;
}

int SerialDevice::SetEventMask(uint32_t mask) {
  shared_->eventMask.store(mask & serial_event::All);
  return 0;
}

int SerialDevice::SetupBuffers(uint32_t, uint32_t) {
  return 0;
}

int SerialDevice::GetLineSettings(SerialLineSettings& settings) {
  if (const int e = ReadLineSettings(fd_, settings_)) return e;
  settings = settings_;
  return 0;
}

int SerialDevice::SetLineSettings(const SerialLineSettings& settings) {
  if (const int e = WriteLineSettings(fd_, settings)) {
    // A terminal refuses its settings with EIO only once hung up. A device
    // that has gone takes none, and a tool that ends because of it still
    // sets its rate back: that is no new failure.
    if (!NoteError(e)) return e;
    settings_ = settings;
    return 0;
  }
  settings_ = settings;
  ReadLineSettings(fd_, settings_);
  const int64_t charTime = static_cast<int64_t>(CharacterBits(settings_)) * 1000000000 /
                           static_cast<int64_t>(std::max<uint32_t>(settings_.BaudRate, 1));
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->charTimeNs = charTime;
  return 0;
}

int SerialDevice::SetTimeouts(const SerialTimeouts& timeouts) {
  timeouts_ = timeouts;
  return 0;
}

uint32_t SerialDevice::Write(const void* buffer, uint32_t count, int& error) {
  error = 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  const uint64_t limitMs = static_cast<uint64_t>(count) * timeouts_.WriteTotalTimeoutMultiplier +
                           timeouts_.WriteTotalTimeoutConstant;
  const bool limited = limitMs != 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
  uint32_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, bytes + done, count - done);
    if (n > 0) {
      done += static_cast<uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      error = errno;
      break;
    }
    // Device buffer full: wait until it takes more, within the time-out.
    const int timeout = PollTimeout(limited, deadline);
    if (timeout == 0) {
      error = ETIMEDOUT;
      break;
    }
    pollfd p{fd_, POLLOUT, 0};
    const int r = poll(&p, 1, timeout);
    if (r < 0 && errno != EINTR) {
      error = errno;
      break;
    }
    if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
      error = EIO;
      break;
    }
  }
  NoteError(error);
  if (done > 0) {
    {
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      const Clock::time_point now = Clock::now();
      shared_->txDeadline =
          std::max(shared_->txDeadline, now) + std::chrono::nanoseconds(shared_->charTimeNs * done);
      shared_->txPending = true;
    }
    // Let the event wait start watching the transmitter.
    const uint64_t one = 1;
    if (wakeFd_ >= 0) (void)!::write(wakeFd_, &one, sizeof one);
  }
  return done;
}

uint32_t SerialDevice::Read(void* buffer, uint32_t count, int& error) {
  error = 0;
  auto* bytes = static_cast<uint8_t*>(buffer);
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(timeouts_.ReadTotalTimeoutConstant);
  uint32_t done = 0;
  while (done < count) {
    ssize_t n = 0;
    {
      // Taken and counted in one step, so the event wait never sees the
      // queue shrink without the count growing.
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      n = ::read(fd_, bytes + done, count - done);
      if (n > 0) shared_->rxTaken += static_cast<uint64_t>(n);
    }
    if (n > 0) {
      done += static_cast<uint32_t>(n);
      continue;
    }
    if (n == 0) {
      error = EIO;  // hung up (VMIN is 1: no data is EAGAIN, not 0)
      break;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN) {
      error = errno;
      break;
    }
    const int timeout = PollTimeout(true, deadline);
    if (timeout == 0) break;
    pollfd p{fd_, POLLIN, 0};
    const int r = poll(&p, 1, timeout);
    if (r < 0 && errno != EINTR) {
      error = errno;
      break;
    }
    if (r > 0 && (p.revents & POLLIN) == 0) {
      error = EIO;  // hang-up or error without data
      break;
    }
  }
  NoteError(error);
  return done;
}

int SerialDevice::ClearError(uint32_t& errors, SerialStatus& status) {
  status = SerialStatus{};
  {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    CollectLineCounters(fd_, *shared_);
    errors = shared_->errors;
    shared_->errors = 0;
  }
  int lines = 0;
  if (settings_.fOutxCtsFlow && shared_->driver->ModemLines(fd_, lines) == 0) {
    status.fCtsHold = (lines & TIOCM_CTS) == 0;
  }
  status.fXoffHold = xoffHold_;
  int in = 0;
  int out = 0;
  if (ioctl(fd_, TIOCINQ, &in) != 0) return errno;
  if (const int e = shared_->driver->OutputQueue(fd_, out)) return e;
  status.cbInQue = static_cast<uint32_t>(std::max(in, 0));
  status.cbOutQue = static_cast<uint32_t>(std::max(out, 0));
  return 0;
}

int SerialDevice::Purge(uint32_t flags) {
  const bool in = (flags & serial_purge::RxClear) != 0;
  const bool out = (flags & serial_purge::TxClear) != 0;
  // Transfers are never left running, so the abort flags have nothing to abort.
  if (!in && !out) return 0;
  const int which = in && out ? TCIOFLUSH : (in ? TCIFLUSH : TCOFLUSH);
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  if (tcflush(fd_, which) != 0) return errno;
  // What was not reported is gone; what arrives from now on is new.
  if (in) shared_->rxTaken = shared_->rxReported;
  return 0;
}

int SerialDevice::Escape(int32_t code) {
  switch (code) {
    case serial_escape::SetXoff:
      if (tcflow(fd_, TCOOFF) != 0) return errno;
      xoffHold_ = true;
      return 0;
    case serial_escape::SetXon:
      if (tcflow(fd_, TCOON) != 0) return errno;
      xoffHold_ = false;
      return 0;
    case serial_escape::SetRts:
      return ModemIoctl(fd_, TIOCMBIS, TIOCM_RTS);
    case serial_escape::ClrRts:
      return ModemIoctl(fd_, TIOCMBIC, TIOCM_RTS);
    case serial_escape::SetDtr:
      return ModemIoctl(fd_, TIOCMBIS, TIOCM_DTR);
    case serial_escape::ClrDtr:
      return ModemIoctl(fd_, TIOCMBIC, TIOCM_DTR);
    case serial_escape::SetBreak:
      return ioctl(fd_, TIOCSBRK) == 0 || NotSupported(errno) ? 0 : errno;
    case serial_escape::ClrBreak:
      return ioctl(fd_, TIOCCBRK) == 0 || NotSupported(errno) ? 0 : errno;
    default:
      return EINVAL;
  }
}

int SerialDevice::ModemStatus(uint32_t& bits) {
  bits = 0;
  int lines = 0;
  if (const int e = shared_->driver->ModemLines(fd_, lines)) return NotSupported(e) ? 0 : e;
  if (lines & TIOCM_CTS) bits |= serial_modem::CtsOn;
  if (lines & TIOCM_DSR) bits |= serial_modem::DsrOn;
  if (lines & TIOCM_RNG) bits |= serial_modem::RingOn;
  if (lines & TIOCM_CD) bits |= serial_modem::RlsdOn;
  return 0;
}

std::shared_ptr<SerialEventWait> SerialDevice::CreateEventWait(int& error) {
  error = 0;
  if (wakeFd_ < 0) {
    error = EMFILE;
    return nullptr;
  }
  const int port = fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (port < 0) {
    error = errno;
    return nullptr;
  }
  const int wake = fcntl(wakeFd_, F_DUPFD_CLOEXEC, 0);
  if (wake < 0) {
    error = errno;
    ::close(port);
    return nullptr;
  }
  auto wait = std::make_shared<SerialEventWait>(port, wake, shared_);
  if (!wait->Ready()) {
    error = EMFILE;
    return nullptr;
  }
  return wait;
}
