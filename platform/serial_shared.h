// State one open device shares with its event waits: the event mask, the
// transmit bookkeeping for the transmit-empty event, and the line error
// counters. Internal to the serial layer.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>

#include "platform/serial_types.h"

struct SerialShared {
  using Clock = std::chrono::steady_clock;

  std::atomic<uint32_t> eventMask{serial_event::All};

  std::mutex mutex;  // guards everything below
  // Bytes were written and the transmit-empty event is still owed.
  bool txPending = false;
  // When the written bytes have left the line by the line time alone; used
  // where the driver cannot tell that its transmitter is empty.
  Clock::time_point txDeadline{};
  // Nanoseconds one character takes on the line.
  int64_t charTimeNs = 1041667;

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
