// State one open device shares with its event waits: the driver, the event
// mask, the receive and transmit bookkeeping, and the line error counters.
// Internal to the serial layer.
#pragma once

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/serial_driver.h"
#include "platform/serial_types.h"

// The driver's answer that the device has no such control or no modem lines
// (pseudo-terminals, many adapters), as opposed to a failure.
inline bool NotSupported(int error) {
  return error == ENOTTY || error == EINVAL;
}

// Whether an error means the device has gone for good (adapter unplugged,
// hung up, node removed) rather than that one request failed. ENODEV and ENXIO
// always do. EIO does from the descriptor itself (read, write, poll), not from
// a driver query: on a USB adapter a modem or queue query is a USB request
// that can fail with EIO once while the adapter is fine.
inline bool GoneError(int error, bool fromDescriptor) {
  return error == ENODEV || error == ENXIO || (fromDescriptor && error == EIO);
}

struct SerialShared {
  using Clock = std::chrono::steady_clock;

  explicit SerialShared(std::shared_ptr<SerialDriver> d) : driver(std::move(d)) {}

  const std::shared_ptr<SerialDriver> driver;
  std::atomic<uint32_t> eventMask{serial_event::All};
  // The device has gone; once set, never cleared for this opening.
  std::atomic<bool> gone{false};

  std::mutex mutex;  // guards everything below
  // Bytes were written and the transmit-empty event is still owed.
  bool txPending = false;
  // When the written bytes have left the line by the line time alone; used
  // where the driver cannot tell that its transmitter is empty.
  Clock::time_point txDeadline{};
  // Nanoseconds one character takes on the line.
  int64_t charTimeNs = 1041667;
  // The driver's transmitter-empty flag is exact (serial_core). Elsewhere it
  // may lag or be stale, and only narrows the line time down.
  bool exactTransmitFlag = false;

  // Received bytes taken out of the queue (read or purged), and received
  // bytes already reported: a wake-up without new bytes (the terminal wakes
  // readers on every settings change) reports nothing.
  uint64_t rxTaken = 0;
  uint64_t rxReported = 0;

  // Line error and modem counters as last seen; -1: not read yet, 0: the
  // driver keeps none.
  int icountState = -1;
  int lastIcount[9] = {};
  uint32_t errors = 0;      // error flag word collected since the last query
  uint32_t lineEvents = 0;  // event bits collected, not yet reported
};

// Reads the driver's line counters (where it keeps them) and adds what
// changed to shared.errors and shared.lineEvents. Caller holds shared.mutex.
void CollectLineCounters(int fd, SerialShared& shared);
