#include "platform/serial_event_wait.h"

#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

#include "platform/serial_shared.h"

namespace {

// Modem lines and line counters are only polled; this often is cheap and
// quick enough for lines that the camera link never uses.
constexpr int64_t kLinePollNs = 20'000'000;
constexpr int64_t kNsPerMs = 1'000'000;
constexpr uint32_t kLineEvents = serial_event::Cts | serial_event::Dsr | serial_event::Rlsd |
                                 serial_event::Ring | serial_event::Break | serial_event::Err;

// The shorter of two time-outs, -1 meaning none.
int64_t Shorter(int64_t a, int64_t b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

}  // namespace

SerialEventWait::SerialEventWait(int portFd, int wakeFd, std::shared_ptr<SerialShared> shared)
    : portFd_(portFd), wakeFd_(wakeFd), shared_(std::move(shared)) {
  epollFd_ = epoll_create1(EPOLL_CLOEXEC);
  if (epollFd_ < 0) return;
  epoll_event wake{};
  wake.events = EPOLLIN;
  wake.data.fd = wakeFd_;
  // Edge-triggered: a wait reports bytes that arrived since the last one, not
  // bytes a handler left unread.
  epoll_event port{};
  port.events = EPOLLIN | EPOLLET;
  port.data.fd = portFd_;
  if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, wakeFd_, &wake) != 0 ||
      epoll_ctl(epollFd_, EPOLL_CTL_ADD, portFd_, &port) != 0) {
    ::close(epollFd_);
    epollFd_ = -1;
    return;
  }
  int lines = 0;
  const int error = shared_->driver->ModemLines(portFd_, lines);
  if (error == 0) {
    lastModem_ = lines;
    lastModemValid_ = true;
  } else if (NotSupported(error)) {
    modemLines_ = false;
  }
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  CollectLineCounters(portFd_, *shared_);
}

SerialEventWait::~SerialEventWait() {
  if (epollFd_ >= 0) ::close(epollFd_);
  ::close(wakeFd_);
  ::close(portFd_);
}

void SerialEventWait::Stop() {
  stop_.store(true);
  const uint64_t one = 1;
  (void)!::write(wakeFd_, &one, sizeof one);
}

void SerialEventWait::HangUp() {
  shared_->gone.store(true);
  if (hungUp_.exchange(true)) return;
  // Polling a hung-up device reports readiness for ever; stop watching it.
  epoll_ctl(epollFd_, EPOLL_CTL_DEL, portFd_, nullptr);
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->txPending = false;
}

uint32_t SerialEventWait::PollLines(uint32_t mask, int64_t& timeoutNs) {
  if ((mask & kLineEvents) == 0) return 0;
  uint32_t events = 0;
  if (modemLines_ &&
      (mask & (serial_event::Cts | serial_event::Dsr | serial_event::Rlsd | serial_event::Ring))) {
    int lines = 0;
    const int error = shared_->driver->ModemLines(portFd_, lines);
    if (NotSupported(error)) {
      modemLines_ = false;
    } else if (GoneError(error, false)) {
      shared_->gone.store(true);
    } else {
      // A failed query skips this poll; only a hang-up of the descriptor
      // means the device is gone.
      if (error == 0) {
        const int changed = lastModemValid_ ? lines ^ lastModem_ : 0;
        if (changed & TIOCM_CTS) events |= serial_event::Cts;
        if (changed & TIOCM_DSR) events |= serial_event::Dsr;
        if (changed & TIOCM_CD) events |= serial_event::Rlsd;
        if ((changed & lines) & TIOCM_RNG) events |= serial_event::Ring;
        lastModem_ = lines;
        lastModemValid_ = true;
      }
      timeoutNs = Shorter(timeoutNs, kLinePollNs);
    }
  }
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  CollectLineCounters(portFd_, *shared_);
  if (shared_->icountState == 1) timeoutNs = Shorter(timeoutNs, kLinePollNs);
  events |= shared_->lineEvents;
  shared_->lineEvents = 0;
  return events;
}

int SerialEventWait::TransmitFlag() {
  if (!temt_) return -1;
  unsigned lsr = 0;
  if (const int error = shared_->driver->LineStatus(portFd_, lsr)) {
    if (GoneError(error, false)) shared_->gone.store(true);
    temt_ = false;
    return -1;
  }
  return (lsr & TIOCSER_TEMT) != 0 ? 1 : 0;
}

uint32_t SerialEventWait::PollTransmit(int64_t& timeoutNs) {
  using std::chrono::nanoseconds;
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  if (!shared_->txPending) return 0;
  const SerialShared::Clock::time_point now = SerialShared::Clock::now();
  const int64_t charNs = shared_->charTimeNs;
  int queued = 0;
  if (const int error = shared_->driver->OutputQueue(portFd_, queued)) {
    if (GoneError(error, false)) shared_->gone.store(true);
    if (!NotSupported(error)) {
      shared_->txPending = false;
      return 0;
    }
    queued = 0;
  }
  if (queued > 0) {
    // The queued bytes leave no sooner than one character time each from
    // now, however long a slow USB transfer held them.
    shared_->txDeadline = std::max(shared_->txDeadline, now + nanoseconds(queued * charNs));
    // Look again soon enough to know when the queue last held bytes.
    timeoutNs = Shorter(timeoutNs, std::clamp<int64_t>(queued * charNs, kNsPerMs, 10 * kNsPerMs));
    return 0;
  }
  const int flag = TransmitFlag();
  if (flag >= 0 && shared_->exactTransmitFlag) {
    if (flag == 1) {
      shared_->txPending = false;
      return serial_event::TxEmpty;
    }
    // The shift register holds at most one character.
    timeoutNs = Shorter(timeoutNs, std::min(charNs, kNsPerMs));
    return 0;
  }
  // Go by the line time of the bytes written: the wait ends at that moment,
  // not at the next whole millisecond, as the guard time that follows is
  // only a few milliseconds. A flag that is not exact (an adapter's copy of
  // its status, refreshed once per latency timer) may say "empty" before
  // the bytes have left, or still "busy" long after: it can only hold the
  // event back, by at most two character times.
  const SerialShared::Clock::time_point lineEnd = shared_->txDeadline;
  const SerialShared::Clock::time_point latest =
      flag == 0 ? lineEnd + nanoseconds(2 * charNs) : lineEnd;
  if (now < latest) {
    const int64_t untilNs =
        std::chrono::duration_cast<nanoseconds>((now < lineEnd ? lineEnd : latest) - now).count();
    const int64_t stepNs = now < lineEnd ? untilNs : std::min(untilNs, std::min(charNs, kNsPerMs));
    timeoutNs = Shorter(timeoutNs, std::min<int64_t>(stepNs, 1000 * kNsPerMs));
    return 0;
  }
  shared_->txPending = false;
  return serial_event::TxEmpty;
}

bool SerialEventWait::NewBytes() {
  int waiting = 0;
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  if (ioctl(portFd_, TIOCINQ, &waiting) != 0) return true;
  const uint64_t received = shared_->rxTaken + static_cast<uint64_t>(std::max(waiting, 0));
  if (received <= shared_->rxReported) return false;
  shared_->rxReported = received;
  return true;
}

int SerialEventWait::WaitReady(epoll_event* ready, int count, int64_t timeoutNs) {
  if (fineWait_ && timeoutNs > 0) {
    const timespec timeout{static_cast<time_t>(timeoutNs / 1'000'000'000),
                           static_cast<long>(timeoutNs % 1'000'000'000)};
    const int n = epoll_pwait2(epollFd_, ready, count, &timeout, nullptr);
    if (n >= 0 || errno != ENOSYS) return n;
    fineWait_ = false;  // an older kernel: whole milliseconds, rounded up
  }
  const int timeoutMs =
      timeoutNs < 0 ? -1 : static_cast<int>((timeoutNs + kNsPerMs - 1) / kNsPerMs);
  return epoll_wait(epollFd_, ready, count, timeoutMs);
}

SerialEventWait::Result SerialEventWait::Wait(uint32_t& events) {
  events = 0;
  for (;;) {
    if (stop_.load()) return Result::Stopped;
    const uint32_t mask = shared_->eventMask.load();
    int64_t timeoutNs = -1;
    uint32_t found = 0;
    if (!hungUp_.load()) {
      found |= PollLines(mask, timeoutNs);
      found |= PollTransmit(timeoutNs);
      found &= mask;
    }
    epoll_event ready[2];
    const bool goneNews = shared_->gone.load() && !goneReported_;
    const int n = WaitReady(ready, 2, found != 0 || goneNews ? 0 : timeoutNs);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Result::Failed;
    }
    for (int i = 0; i < n; ++i) {
      if (ready[i].data.fd == wakeFd_) {
        uint64_t count = 0;
        (void)!::read(wakeFd_, &count, sizeof count);
        continue;
      }
      if ((ready[i].events & EPOLLIN) && NewBytes()) found |= serial_event::RxChar & mask;
      if (ready[i].events & (EPOLLHUP | EPOLLERR)) HangUp();
    }
    // Found here, by a driver query, or by a read or write of the device.
    if (shared_->gone.load() && !goneReported_) {
      goneReported_ = true;
      HangUp();
      found |= serial_event::Gone;
    }
    if (stop_.load()) return Result::Stopped;
    if (found != 0) {
      events = found;
      return Result::Event;
    }
  }
}
