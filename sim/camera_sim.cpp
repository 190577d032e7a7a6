#include "sim/camera_sim.h"

#include <algorithm>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "link/line_speeds.h"
#include "link/ptz_decoder.h"

CameraSim::CameraSim(const TCameraConfig& config, const SimTrace& trace)
    : CameraSim(std::vector<TCameraConfig>{config}, trace) {}

CameraSim::CameraSim(const std::vector<TCameraConfig>& cameras, const SimTrace& trace)
    : config_(cameras.front()),
      trace_(trace),
      receiver_({config_.protocol}),
      output_(config_),
      replyDamage_(config_.corruptRate, config_.seed),
      requestDamage_(config_.corruptRequestRate, config_.seed + 1) {
  for (const TCameraConfig& camera : cameras) cameras_.push_back(std::make_unique<Camera>(camera));
}

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
  std::vector<uint8_t> heard(data, data + count);
  if (config_.corruptRequestRate > 0.0) {
    std::vector<std::string> notes;
    heard = requestDamage_.Hear(data, count, nowUs, notes);
    for (const std::string& note : notes) {
      trace_.Frame(nowUs, "RX", data, count, "damaged on the way in: " + note);
    }
    if (heard.empty()) return;
  }
  if (config_.lineTiming) {
    // The tool's bytes reach a pseudo-terminal at once; a real camera hears
    // the last of them only after their time on the line, and answers after that.
    nowUs = std::max(nowUs, rxBusyUntilUs_) + ByteTimeUs(lineBaud, count);
    rxBusyUntilUs_ = nowUs;
  }
  for (const LinePiece& piece : receiver_.Feed(heard.data(), heard.size(), nowUs)) {
    Handle(piece, nowUs);
  }
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

std::string CameraSim::NotHere(int address) const {
  if (cameras_.size() == 1) return "camera is addr " + std::to_string(cameras_[0]->model.Address());
  return "no camera at addr " + std::to_string(address);
}

void CameraSim::HandleCommand(const std::vector<uint8_t>& frame, int64_t nowUs) {
  const uint8_t* f = frame.data();
  const std::string meaning = DescribeFrame(f, frame.size());
  const auto trace = [&](const std::string& text) {
    trace_.Frame(nowUs, "RX", f, frame.size(), text);
  };
  if (FrameChecksum(f) != f[9] || f[1] != 0x01 || f[2] != 0x01) return trace(meaning);

  const uint8_t address = f[3];
  bool everyCamera = false;
  switch (f[4]) {
    case kCmdPoll:
    case kCmdRead:
    case kCmdWrite:
      break;
    case kCmdGetProtocolState:
      everyCamera = address == 0;
      break;
    case kCmdProtocolSpeed:
      // Heard at the camera's own rate during the tool's four-rate sweep; nothing to answer.
      return trace(meaning + " (logged at " + std::to_string(config_.baud) + " baud)");
    default:
      return trace("dropped: " + meaning);
  }
  const std::vector<Camera*> addressed = Addressed(address, everyCamera);
  if (addressed.empty()) return trace(meaning + ", dropped: " + NotHere(address));
  std::vector<ReplyFrame> replies;
  for (Camera* camera : addressed) {
    if (!camera->Silent(nowUs)) replies.push_back(Reply(*camera, f));
  }
  if (replies.empty()) return trace(meaning + ", not answered (silent)");
  trace(meaning);
  ScheduleReplies(replies, nowUs);
}

std::vector<CameraSim::Camera*> CameraSim::Addressed(uint8_t address, bool everyCamera) const {
  std::vector<Camera*> addressed;
  for (const auto& camera : cameras_) {
    if (everyCamera || camera->model.Address() == address) addressed.push_back(camera.get());
  }
  return addressed;
}

bool CameraSim::Camera::Silent(int64_t nowUs) {
  if (restarted || config.silentAfter < 0 || replies < config.silentAfter) return false;
  if (silentSinceUs < 0) silentSinceUs = nowUs;
  restarted = config.silentForMs >= 0 && nowUs - silentSinceUs >= config.silentForMs * 1000;
  return !restarted;
}

void CameraSim::ScheduleReplies(const std::vector<ReplyFrame>& replies, int64_t nowUs) {
  const ReplyFrame line = replies.size() == 1 ? replies[0] : CollidedReply(replies);
  std::string meaning = DescribeFrame(line.data(), kFrameSize);
  if (replies.size() > 1) {
    meaning = "collision of " + std::to_string(replies.size()) + " replies: " + meaning;
  }
  std::vector<uint8_t> bytes(line.begin(), line.end());
  const std::string damage = replyDamage_.Damage(bytes);
  // The trace shows the bytes as they went, and what they were.
  if (!damage.empty()) {
    meaning = "damaged, " + damage + ", was " + HexBytes(line.data(), kFrameSize) + ": " + meaning;
  }
  output_.Schedule(bytes.data(), bytes.size(), meaning, nowUs);
}

ReplyFrame CameraSim::Reply(Camera& camera, const uint8_t* f) {
  ReplyFrame reply{};
  switch (f[4]) {
    case kCmdPoll:
      camera.model.PollReply(reply.data());
      break;
    case kCmdRead:
      camera.model.ReadReply(f[5], f[6], reply.data());
      break;
    case kCmdWrite:
      camera.model.Write(f[5], f[6], f[7], reply.data());
      if (onChange_) onChange_(camera.model);
      break;
    default:
      camera.model.ProtocolStateReply(reply.data());
      break;
  }
  ++camera.replies;
  return reply;
}

void CameraSim::HandlePtz(const std::vector<uint8_t>& frame, int64_t nowUs) {
  const std::string name = PtzProtocolName(config_.protocol);
  const PtzDecoded decoded = DecodePtzFrame(config_.protocol, frame.data(), frame.size());
  const auto trace = [&](const std::string& text) {
    trace_.Frame(nowUs, "RX", frame.data(), frame.size(), text);
  };
  if (!decoded.accepted) return trace(name + " dropped: " + decoded.reason);
  // Every camera at the address obeys.
  std::vector<Camera*> addressed;
  for (const auto& camera : cameras_) {
    if (camera->model.Address() == decoded.address) addressed.push_back(camera.get());
  }
  if (addressed.empty()) {
    return trace(DescribeFrame(frame.data(), frame.size()) +
                 ", dropped: " + NotHere(decoded.address));
  }
  trace(DescribeFrame(frame.data(), frame.size()));
  for (Camera* camera : addressed) {
    if (camera->menu.Apply(decoded)) trace_.Menu(nowUs, camera->menu.Render());
    if (onChange_) onChange_(camera->model);
  }
}

long CameraSim::AllReplies() const {
  long all = 0;
  for (const auto& camera : cameras_) all += camera->replies;
  return all;
}
