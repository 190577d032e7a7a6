#include "sim/camera_sim.h"

#include <algorithm>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "link/line_speeds.h"
#include "link/ptz_decoder.h"

CameraSim::CameraSim(const TCameraConfig& config, const SimTrace& trace)
    : config_(config),
      trace_(trace),
      model_(config),
      menu_(model_),
      receiver_({config.protocol}),
      output_(config) {}

void CameraSim::OnBytes(const uint8_t* data, size_t count, int lineBaud, int64_t nowUs) {
  if (count == 0) return;
  if (lineBaud != config_.baud) {
    // At another speed a UART sees garbage: nothing of it forms a frame.
    for (const LinePiece& piece : receiver_.Abandon()) Handle(piece, nowUs);
    trace_.Frame(nowUs, "RX", data, count,
                 "ignored: line at " + std::to_string(lineBaud) + " baud, camera at " +
                     std::to_string(config_.baud));
    return;
  }
  if (config_.lineTiming) {
    // The tool's bytes reach a pseudo-terminal at once; a real camera hears
    // the last of them only after their time on the line, and answers after that.
    nowUs = std::max(nowUs, rxBusyUntilUs_) + ByteTimeUs(lineBaud, count);
    rxBusyUntilUs_ = nowUs;
  }
  for (const LinePiece& piece : receiver_.Feed(data, count, nowUs)) Handle(piece, nowUs);
}

void CameraSim::OnTime(int64_t nowUs) {
  for (const LinePiece& piece : receiver_.Expire(nowUs)) Handle(piece, nowUs);
}

int64_t CameraSim::NextDeadline() const {
  const int64_t rx = receiver_.Deadline();
  const int64_t tx = output_.NextDue();
  if (rx < 0) return tx;
  if (tx < 0) return rx;
  return rx < tx ? rx : tx;
}

std::vector<uint8_t> CameraSim::TakeDueBytes(int64_t nowUs) {
  std::vector<uint8_t> bytes;
  for (const TOutPiece& piece : output_.TakeDue(nowUs)) {
    bytes.insert(bytes.end(), piece.bytes.begin(), piece.bytes.end());
    if (!piece.traceBytes.empty()) {
      trace_.Frame(nowUs, "TX", piece.traceBytes.data(), piece.traceBytes.size(), piece.meaning);
    }
  }
  return bytes;
}

void CameraSim::Handle(const LinePiece& piece, int64_t nowUs) {
  switch (piece.kind) {
    case LinePieceKind::Frame:
      HandleCommand(piece.bytes, nowUs);
      break;
    case LinePieceKind::Ptz:
      HandlePtz(piece.bytes, nowUs);
      break;
    case LinePieceKind::Garbage:
    case LinePieceKind::Partial:
      trace_.Frame(nowUs, "RX", piece.bytes.data(), piece.bytes.size(), DescribePiece(piece));
      break;
  }
}

void CameraSim::HandleCommand(const std::vector<uint8_t>& frame, int64_t nowUs) {
  const uint8_t* f = frame.data();
  const std::string meaning = DescribeFrame(f, frame.size());
  const auto trace = [&](const std::string& text) {
    trace_.Frame(nowUs, "RX", f, frame.size(), text);
  };
  if (FrameChecksum(f) != f[9] || f[1] != 0x01 || f[2] != 0x01) return trace(meaning);

  const uint8_t address = f[3];
  bool forUs = address == model_.Address();
  switch (f[4]) {
    case kCmdPoll:
    case kCmdRead:
    case kCmdWrite:
      break;
    case kCmdGetProtocolState:
      forUs = forUs || address == 0;
      break;
    case kCmdProtocolSpeed:
      // Heard at the camera's own rate during the tool's four-rate sweep; nothing to answer.
      return trace(meaning + " (logged at " + std::to_string(config_.baud) + " baud)");
    default:
      return trace("dropped: " + meaning);
  }
  if (!forUs) {
    return trace(meaning + ", dropped: camera is addr " + std::to_string(model_.Address()));
  }
  if (config_.silentAfter >= 0 && replies_ >= config_.silentAfter) {
    return trace(meaning + ", not answered (silent)");
  }
  trace(meaning);
  Reply(frame, nowUs);
}

void CameraSim::Reply(const std::vector<uint8_t>& request, int64_t nowUs) {
  const uint8_t* f = request.data();
  uint8_t reply[kFrameSize];
  switch (f[4]) {
    case kCmdPoll:
      model_.PollReply(reply);
      break;
    case kCmdRead:
      model_.ReadReply(f[5], f[6], reply);
      break;
    case kCmdWrite:
      model_.Write(f[5], f[6], f[7], reply);
      break;
    default:
      model_.ProtocolStateReply(reply);
      break;
  }
  ++replies_;
  output_.Schedule(reply, kFrameSize, DescribeFrame(reply, kFrameSize), nowUs);
}

void CameraSim::HandlePtz(const std::vector<uint8_t>& frame, int64_t nowUs) {
  const PtzDecoded decoded =
      DecodePtzFrame(config_.protocol, frame.data(), frame.size(), model_.Address());
  const std::string name = PtzProtocolName(config_.protocol);
  if (!decoded.accepted) {
    trace_.Frame(nowUs, "RX", frame.data(), frame.size(), name + " dropped: " + decoded.reason);
    return;
  }
  trace_.Frame(nowUs, "RX", frame.data(), frame.size(),
               name + " " + PtzActionName(decoded) + " addr " + std::to_string(model_.Address()));
  if (menu_.Apply(decoded)) trace_.Menu(nowUs, menu_.Render());
}
