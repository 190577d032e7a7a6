// Assembles reply frames from the bytes of the receive events.
#include <algorithm>
#include <cstring>

#include "link/camera_frames.h"
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

namespace {

// One event's bytes are read in chunks of this size, so no reported count
// can overrun the buffer.
constexpr uint32_t kRxChunk = 64;

}  // namespace

void QamProtocol::Comm1RxChar(uint32_t count) {
  uint8_t buffer[kRxChunk];
  bool first = true;
  while (count > 0) {
    const uint32_t wanted = std::min(count, kRxChunk);
    const int32_t got = s_.port.Read(buffer, wanted);
    if (got <= 0) return;
    const uint32_t taken = std::min(static_cast<uint32_t>(got), wanted);
    count -= taken;
    if (sink_) {
      sink_->ReceiveBytes(buffer, taken);
      continue;
    }
    if (first) {
      s_.qamProtocolTimer.Stop();
      first = false;
    }
    for (uint32_t i = 0; i < taken; ++i) ReceiveByte(buffer[i]);
  }
}

void QamProtocol::ReceiveByte(uint8_t byte) {
  CameraLinkState& st = s_.state;
  if (st.RxCount == 0 && byte != kFrameStart) return;
  if (st.RxCount >= kFrameSize) st.RxCount = 0;  // never past the buffer
  st.RxFrame[st.RxCount++] = byte;
  s_.qamProtocolTimer.Restart(kInterByteMs);
  if (st.RxCount < kFrameSize) return;

  s_.qamProtocolTimer.Stop();
  // The receiver is ready for the next frame before the reply is acted on:
  // a modal notice raised by the reply must not find a half-used buffer.
  uint8_t frame[kFrameSize];
  std::memcpy(frame, st.RxFrame, kFrameSize);
  std::memset(st.RxFrame, 0, kFrameSize);
  st.RxCount = 0;
  DispatchReply(frame);
}

void QamProtocol::QamProtocolTimerTimer() {
  s_.qamProtocolTimer.Stop();
  s_.state.RxCount = 0;
}
