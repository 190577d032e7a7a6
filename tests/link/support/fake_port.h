// A serial port on the virtual clock. It records every byte written with its
// time, the RTS state and the line speed; it moves the bytes over a modelled
// wire (ten bits per byte) to whatever listens at the far end, raises the
// transmit-empty event when the wire has drained, and holds the bytes that
// arrive from the far end until they are read.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "link/link_services.h"
#include "tests/link/support/virtual_clock.h"

struct PortWrite {
  VirtualUs time;
  uint8_t byte;
  bool rts;
  int baud;
};

struct RtsChange {
  VirtualUs time;
  bool state;
};

// The bytes written after one RTS-off: one frame of the send routine.
struct SentFrame {
  VirtualUs time;  // of the first byte
  int baud;
  bool rts;  // RTS state while the first byte was written
  std::vector<uint8_t> bytes;
};

class FakePort : public LinkPort {
 public:
  explicit FakePort(VirtualClock& clock) : clock_(clock) {}
  ~FakePort() override;
  FakePort(const FakePort&) = delete;
  FakePort& operator=(const FakePort&) = delete;

  bool Enabled() const override { return enabled_; }
  int32_t Write(const uint8_t* buffer, uint32_t count) override;
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override;
  int BaudRate() const override { return baud_; }
  void SetBaudRate(int bitsPerSecond) override;

  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // The device goes (unplugged): writes are refused. No event is raised.
  bool Gone() const override { return gone_; }
  void SetGone(bool gone) { gone_ = gone; }
  bool Rts() const { return rts_; }

  // Bytes arriving from the far end; they wait until read. No event is raised.
  void Receive(const std::vector<uint8_t>& bytes);
  size_t RxWaiting() const { return rx_.size(); }

  // Wire time of one byte at a speed: ten bits.
  static VirtualUs ByteTime(int baud) { return baud > 0 ? (10'000'000 + baud - 1) / baud : 0; }

  // The port's transmit-empty event, raised when the last byte has left.
  std::function<void()> onTxEmpty;
  // Each byte as it reaches the far end, with the speed it was sent at.
  std::function<void(uint8_t byte, int baud)> onLineByte;

  // Records.
  const std::vector<PortWrite>& Writes() const { return writes_; }
  const std::vector<SentFrame>& Frames() const { return frames_; }
  const std::vector<RtsChange>& RtsChanges() const { return rtsChanges_; }
  const std::vector<VirtualUs>& TxEmptyTimes() const { return txEmptyTimes_; }
  // The count passed to every Write call.
  const std::vector<uint32_t>& WriteCalls() const { return writeCalls_; }
  // The count asked for by every Read call.
  const std::vector<uint32_t>& ReadRequests() const { return readRequests_; }
  // Every speed set, with its time.
  struct BaudChange {
    VirtualUs time;
    int baud;
  };
  const std::vector<BaudChange>& BaudChanges() const { return baudChanges_; }
  void ClearRecords();

 private:
  VirtualClock& clock_;
  bool enabled_ = true;
  bool gone_ = false;
  bool rts_ = true;
  int baud_ = 9600;
  bool frameOpen_ = false;
  VirtualUs wireFreeAt_ = 0;
  VirtualClock::EventId txEmptyEvent_ = 0;
  std::vector<VirtualClock::EventId> lineEvents_;
  std::deque<uint8_t> rx_;
  std::vector<PortWrite> writes_;
  std::vector<SentFrame> frames_;
  std::vector<RtsChange> rtsChanges_;
  std::vector<VirtualUs> txEmptyTimes_;
  std::vector<uint32_t> writeCalls_;
  std::vector<uint32_t> readRequests_;
  std::vector<BaudChange> baudChanges_;
};
