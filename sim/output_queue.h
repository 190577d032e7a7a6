// The camera's transmitter: replies wait here until their bytes are due. It
// shapes how a reply reaches the line: after a reply delay, byte by byte at
// the line's speed, in pieces with short gaps, or after a burst of noise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "sim/camera_config.h"

constexpr int64_t kSplitGapUs = 30000;

struct TOutPiece {
  int64_t dueUs;
  std::vector<uint8_t> bytes;
  // Set on the last piece of a frame or a noise burst: what the trace shows
  // once it has left.
  std::vector<uint8_t> traceBytes;
  std::string meaning;
};

class OutputQueue {
 public:
  explicit OutputQueue(const TCameraConfig& config);

  // Queues a frame; it starts after the reply delay and after anything queued before it.
  void Schedule(const uint8_t* frame, size_t count, const std::string& meaning, int64_t nowUs);
  // Due time of the next piece; -1 when empty.
  int64_t NextDue() const;
  // Pieces due by `nowUs`, in order.
  std::vector<TOutPiece> TakeDue(int64_t nowUs);
  bool Empty() const { return pieces_.empty(); }

 private:
  // Puts bytes on the queue from time `t` on and returns the time the last one is due.
  int64_t Place(const std::vector<uint8_t>& bytes, int64_t t);

  int64_t delayUs_;
  int64_t adapterUs_;  // added to each piece's due time, not to the line's
  bool lineTiming_;
  bool split_;
  double noiseRate_;
  int baud_;
  std::mt19937 random_;
  std::deque<TOutPiece> pieces_;
  int64_t busyUntilUs_ = 0;
};

// Time one byte takes on the line at `baud` (start, 8 data and stop bit).
int64_t ByteTimeUs(int baud, size_t bytes = 1);
