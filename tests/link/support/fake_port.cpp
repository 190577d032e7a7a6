#include "tests/link/support/fake_port.h"

#include <algorithm>

FakePort::~FakePort() {
  clock_.Cancel(txEmptyEvent_);
  for (const auto id : lineEvents_) clock_.Cancel(id);
}

int32_t FakePort::Write(const uint8_t* buffer, uint32_t count) {
  writeCalls_.push_back(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t byte = buffer[i];
    writes_.push_back({clock_.Now(), byte, rts_, baud_});
    if (!frameOpen_ || frames_.empty()) {
      frames_.push_back({clock_.Now(), baud_, rts_, {}});
      frameOpen_ = true;
    }
    frames_.back().bytes.push_back(byte);

    wireFreeAt_ = std::max(wireFreeAt_, clock_.Now()) + ByteTime(baud_);
    const int baud = baud_;
    if (lineEvents_.size() > 1024) {
      lineEvents_.erase(std::remove_if(lineEvents_.begin(), lineEvents_.end(),
                                       [this](auto id) { return !clock_.Pending(id); }),
                        lineEvents_.end());
    }
    lineEvents_.push_back(clock_.At(wireFreeAt_, [this, byte, baud] {
      if (onLineByte) onLineByte(byte, baud);
    }));
  }
  // One transmit-empty event when the wire has drained.
  clock_.Cancel(txEmptyEvent_);
  txEmptyEvent_ = clock_.At(wireFreeAt_, [this] {
    txEmptyTimes_.push_back(clock_.Now());
    if (onTxEmpty) onTxEmpty();
  });
  return static_cast<int32_t>(count);
}

int32_t FakePort::Read(uint8_t* buffer, uint32_t count) {
  readRequests_.push_back(count);
  uint32_t n = 0;
  while (n < count && !rx_.empty()) {
    buffer[n++] = rx_.front();
    rx_.pop_front();
  }
  return static_cast<int32_t>(n);
}

void FakePort::SetRTSState(bool state) {
  rts_ = state;
  rtsChanges_.push_back({clock_.Now(), state});
  if (!state) frameOpen_ = false;  // the send routine starts a new frame
}

void FakePort::SetBaudRate(int bitsPerSecond) {
  baud_ = bitsPerSecond;
  baudChanges_.push_back({clock_.Now(), bitsPerSecond});
}

void FakePort::Receive(const std::vector<uint8_t>& bytes) {
  rx_.insert(rx_.end(), bytes.begin(), bytes.end());
}

void FakePort::ClearRecords() {
  writes_.clear();
  frames_.clear();
  rtsChanges_.clear();
  txEmptyTimes_.clear();
  writeCalls_.clear();
  readRequests_.clear();
  baudChanges_.clear();
  frameOpen_ = false;
}
