// The event wait of one serial event thread: bytes received, transmit queue
// drained, modem line changes and line errors where the driver reports them.
// Owns a duplicate of the device descriptor and a wake-up eventfd, so Stop
// ends a wait at once and no closed descriptor number is ever touched.
// The event-character event (0x0002) is never reported: a terminal cannot be
// searched for a byte without reading it. Modem lines and line errors are
// polled (TIOCMGET, TIOCGICOUNT) only where the driver has them; a failed
// modem query skips one poll, since on a USB adapter it is a USB request that
// can fail once while the adapter is fine.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

struct SerialShared;
struct epoll_event;

class SerialEventWait {
 public:
  enum class Result { Event, Stopped, Failed };

  // Made by SerialDevice::CreateEventWait; takes ownership of both descriptors.
  SerialEventWait(int portFd, int wakeFd, std::shared_ptr<SerialShared> shared);
  ~SerialEventWait();
  SerialEventWait(const SerialEventWait&) = delete;
  SerialEventWait& operator=(const SerialEventWait&) = delete;

  // Event thread: blocks until a monitored event (bits in events), Stop, or a
  // failure of the wait. After a hang-up (adapter unplugged, far end of a
  // pseudo-terminal closed) or any other sign that the device has gone (a
  // read or write that found it so; ENODEV or ENXIO from a driver query) the
  // wait reports serial_event::Gone once, whatever the mask; then the device
  // is no longer watched and the wait parks until Stop.
  Result Wait(uint32_t& events);
  // Any thread: the current and every later Wait return Stopped.
  void Stop();
  bool HungUp() const { return hungUp_.load(); }
  bool Ready() const { return epollFd_ >= 0; }

 private:
  // Each may shorten the wait's time-out (nanoseconds, -1 for none).
  uint32_t PollLines(uint32_t mask, int64_t& timeoutNs);
  uint32_t PollTransmit(int64_t& timeoutNs);
  // Whether the transmitter is empty by the driver's flag: 1 yes, 0 not yet,
  // -1 the driver has no flag. Caller holds shared_->mutex.
  int TransmitFlag();
  // Received bytes not reported yet.
  bool NewBytes();
  // epoll_wait with a time-out to the nanosecond where the kernel has it.
  int WaitReady(epoll_event* ready, int count, int64_t timeoutNs);
  void HangUp();
  int portFd_;
  int wakeFd_;
  int epollFd_ = -1;
  std::shared_ptr<SerialShared> shared_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> hungUp_{false};
  bool goneReported_ = false;
  bool modemLines_ = true;
  bool lastModemValid_ = false;  // lastModem_ holds an answer to compare with
  int lastModem_ = 0;
  bool temt_ = true;
  bool fineWait_ = true;  // epoll_pwait2 works
};
