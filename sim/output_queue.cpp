#include "sim/output_queue.h"

#include <algorithm>

#include "link/camera_frames.h"

int64_t ByteTimeUs(int baud, size_t bytes) {
  return static_cast<int64_t>(bytes) * 10 * 1000000 / std::max(baud, 1);
}

OutputQueue::OutputQueue(const TCameraConfig& config)
    : delayUs_(int64_t{config.replyDelayMs} * 1000),
      adapterUs_(int64_t{config.adapterLatencyMs} * 1000),
      lineTiming_(config.lineTiming),
      split_(config.split),
      noiseRate_(config.noiseRate),
      baud_(config.baud),
      random_(config.seed) {}

int64_t OutputQueue::Place(const std::vector<uint8_t>& bytes, int64_t t) {
  if (!lineTiming_) {
    pieces_.push_back({t + adapterUs_, bytes, {}, {}});
  } else {
    // Byte n is handed over when n bit-frames would have left a real UART.
    const int64_t start = t;
    for (size_t i = 0; i < bytes.size(); ++i) {
      t = start + ByteTimeUs(baud_, i + 1);
      pieces_.push_back({t + adapterUs_, {bytes[i]}, {}, {}});
    }
  }
  return t;
}

void OutputQueue::Schedule(const uint8_t* frame, size_t count, const std::string& meaning,
                           int64_t nowUs) {
  int64_t t = std::max(nowUs + delayUs_, busyUntilUs_);
  if (noiseRate_ > 0.0 && std::uniform_real_distribution<double>(0.0, 1.0)(random_) < noiseRate_) {
    std::vector<uint8_t> noise(std::uniform_int_distribution<size_t>(1, 3)(random_));
    // Never a start byte: noise lies between frames and must not open one.
    for (uint8_t& byte : noise) {
      do {
        byte = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(random_));
      } while (byte == kFrameStart);
    }
    t = Place(noise, t);
    pieces_.back().traceBytes = noise;
    pieces_.back().meaning = "noise";
  }
  const std::vector<uint8_t> bytes(frame, frame + count);
  if (!split_ || count < 3) {
    t = Place(bytes, t);
  } else {
    // Three pieces: 3, 3 and the rest, with a short gap between them.
    const size_t cuts[] = {0, 3, 6, count};
    for (size_t p = 0; p < 3; ++p) {
      if (p > 0) t += kSplitGapUs;
      t = Place({bytes.begin() + static_cast<long>(cuts[p]),
                 bytes.begin() + static_cast<long>(cuts[p + 1])},
                t);
    }
  }
  pieces_.back().traceBytes = bytes;
  pieces_.back().meaning = meaning;
  busyUntilUs_ = t;
}

int64_t OutputQueue::NextDue() const {
  return pieces_.empty() ? -1 : pieces_.front().dueUs;
}

std::vector<TOutPiece> OutputQueue::TakeDue(int64_t nowUs) {
  std::vector<TOutPiece> due;
  while (!pieces_.empty() && pieces_.front().dueUs <= nowUs) {
    due.push_back(std::move(pieces_.front()));
    pieces_.pop_front();
  }
  return due;
}
