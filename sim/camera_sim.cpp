#include "sim/camera_sim.h"

#include <algorithm>
#include <cstdio>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "sim/ptz_decoder.h"

namespace {

std::string Hex2(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string CharText(uint8_t c) {
  if (c >= 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
  return Hex2(c);
}

std::string ProtocolName(uint8_t code) {
  return code <= 2 ? PtzProtocolName(static_cast<PtzProtocol>(code)) : Hex2(code);
}

// "read SHUTTER", "write ID. pos 5 = 'A'": what a read or write frame asks.
std::string DescribeRequest(const uint8_t* f) {
  const uint8_t item = f[5];
  std::string text = (f[4] == kCmdRead ? "read " : "write ") + ItemName(item);
  if (item == kItemId) {
    text += " pos " + std::to_string(f[6]);
    if (f[4] == kCmdWrite) text += " = " + CharText(f[7]);
  } else if (f[4] == kCmdWrite) {
    text += " = " + DescribeValue(item, f[6]);
  }
  return text;
}

std::string DescribeReply(const uint8_t* r) {
  switch (r[4]) {
    case kReplyPoll:
      return "poll reply addr " + std::to_string(r[3]);
    case kReplyProtocolState:
      return "protocol state reply addr " + std::to_string(r[3]) + ", " +
             std::to_string(BaudOfCode(r[5])) + " baud, " + ProtocolName(r[6]);
    default: {
      const uint8_t item = r[5];
      std::string text = (r[4] == kReplyRead ? "read reply " : "write reply ") + ItemName(item);
      if (item == kItemId) return text + " pos " + std::to_string(r[6]) + " = " + CharText(r[7]);
      return text + " = " + DescribeValue(item, r[6]);
    }
  }
}

}  // namespace

std::string DescribeValue(uint8_t item, uint8_t value) {
  const std::string text = ValueText(item, value);
  const std::string number = std::to_string(value);
  if (item == kItemColToWb || item == kItemWbToCol) {
    return (value == kDelayCodeSpecial ? Hex2(value) : number) + " (" + text + ")";
  }
  return text == number ? number : number + " (" + text + ")";
}

CameraSim::CameraSim(const TCameraConfig& config, const SimTrace& trace)
    : config_(config),
      trace_(trace),
      model_(config),
      menu_(model_),
      receiver_(config.protocol),
      output_(config) {}

void CameraSim::OnBytes(const uint8_t* data, size_t count, int lineBaud, int64_t nowUs) {
  if (count == 0) return;
  if (lineBaud != config_.baud) {
    // At another speed a UART sees garbage: nothing of it forms a frame.
    for (const TRxEvent& event : receiver_.Abandon()) Handle(event, nowUs);
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
  for (const TRxEvent& event : receiver_.Feed(data, count, nowUs)) Handle(event, nowUs);
}

void CameraSim::OnTime(int64_t nowUs) {
  for (const TRxEvent& event : receiver_.Expire(nowUs)) Handle(event, nowUs);
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

void CameraSim::Handle(const TRxEvent& event, int64_t nowUs) {
  const auto* bytes = event.bytes.data();
  const size_t count = event.bytes.size();
  switch (event.kind) {
    case RxKind::Command:
      HandleCommand(event.bytes, nowUs);
      break;
    case RxKind::Ptz:
      HandlePtz(event.bytes, nowUs);
      break;
    case RxKind::Skipped:
      trace_.Frame(nowUs, "RX", bytes, count, "skipped: no frame start");
      break;
    case RxKind::Partial:
      trace_.Frame(nowUs, "RX", bytes, count, "dropped: partial frame");
      break;
  }
}

void CameraSim::HandleCommand(const std::vector<uint8_t>& frame, int64_t nowUs) {
  const uint8_t* f = frame.data();
  const auto trace = [&](const std::string& text) {
    trace_.Frame(nowUs, "RX", f, frame.size(), text);
  };
  if (FrameChecksum(f) != f[9]) return trace("dropped: bad checksum");
  if (f[1] != 0x01 || f[2] != 0x01) return trace("dropped: bytes 1 and 2 are not 01 01");

  const uint8_t address = f[3];
  const std::string addressText = " addr " + std::to_string(address);
  std::string meaning;
  bool forUs = address == model_.Address();
  switch (f[4]) {
    case kCmdPoll:
      meaning = "poll" + addressText + " proto " + ProtocolName(f[7]);
      break;
    case kCmdRead:
    case kCmdWrite:
      meaning = DescribeRequest(f) + addressText;
      break;
    case kCmdGetProtocolState:
      meaning = "get protocol state" + addressText;
      forUs = forUs || address == 0;
      break;
    case kCmdProtocolSpeed:
      // Heard at the camera's own rate during the tool's four-rate sweep; nothing to answer.
      return trace("protocol speed" + addressText + " (logged at " + std::to_string(config_.baud) +
                   " baud)");
    default:
      return trace("dropped: unknown command " + Hex2(f[4]) + addressText);
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
  output_.Schedule(reply, kFrameSize, DescribeReply(reply), nowUs);
}

void CameraSim::HandlePtz(const std::vector<uint8_t>& frame, int64_t nowUs) {
  const TPtzDecoded decoded =
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
