#include "tests/link/support/scripted_camera.h"

#include <algorithm>

#include "link/camera_frames.h"
#include "link/line_speeds.h"

std::vector<uint8_t> ReplyBytes(uint8_t address, uint8_t code, uint8_t byte5, uint8_t byte6,
                                uint8_t byte7) {
  uint8_t frame[kFrameSize];
  BuildReplyFrame(frame, address, code, byte5, byte6, byte7);
  return std::vector<uint8_t>(frame, frame + kFrameSize);
}

ScriptedCamera::ScriptedCamera(VirtualClock& clock, FakePort& port) : clock_(clock), port_(port) {
  for (const CameraItem& item : CameraItems()) values[item.code] = item.defaultValue;
  idText.fill(' ');
  // Cameras made later share the line: each passes every byte on.
  port_.onLineByte = [this, before = port_.onLineByte](uint8_t byte, int lineBaud) {
    if (before) before(byte, lineBaud);
    Hear(byte, lineBaud);
  };
}

ScriptedCamera::~ScriptedCamera() {
  port_.onLineByte = nullptr;
  for (const auto id : sends_) clock_.Cancel(id);
}

size_t ScriptedCamera::Heard(uint8_t command, uint8_t item) const {
  return static_cast<size_t>(std::count_if(heard.begin(), heard.end(), [&](const HeardFrame& f) {
    return f.bytes[4] == command && (item == 0 || f.bytes[5] == item);
  }));
}

void ScriptedCamera::Hear(uint8_t byte, int lineBaud) {
  // At another speed the camera's receiver sees only noise.
  if (lineBaud != baud) {
    assembling_.clear();
    return;
  }
  if (assembling_.empty() && byte != kFrameStart) return;
  assembling_.push_back(byte);
  if (assembling_.size() < kFrameSize) return;
  const Bytes request = assembling_;
  assembling_.clear();
  heard.push_back({clock_.Now(), lineBaud, request});
  if (silent) return;
  if (script) {
    if (const auto scripted = script(request)) {
      if (!scripted->empty()) Reply(*scripted);
      return;
    }
  }
  const Bytes answer = Answer(request);
  if (!answer.empty()) Reply(answer);
}

ScriptedCamera::Bytes ScriptedCamera::Answer(const Bytes& request) {
  if (request.size() != kFrameSize || request[0] != kFrameStart) return {};
  if (FrameChecksum(request.data()) != request[9]) return {};
  const uint8_t command = request[4];
  const uint8_t item = request[5];
  if (command == kCmdGetProtocolState) {
    return ReplyBytes(address, kReplyProtocolState, static_cast<uint8_t>(CodeOfBaud(baud)),
                      protocolCode);
  }
  if (request[3] != address) return {};
  switch (command) {
    case kCmdPoll:
      return ReplyBytes(address, kReplyPoll);
    case kCmdRead:
      if (item == kItemId) {
        const uint8_t position = request[6];
        return ReplyBytes(address, kReplyRead, item, position,
                          position < kIdLength ? idText[position] : 0);
      }
      return ReplyBytes(address, kReplyRead, item, values[item]);
    case kCmdWrite: {
      if (item == kItemId) {
        const uint8_t position = request[6];
        if (position < kIdLength) idText[position] = request[7];
        return ReplyBytes(address, kReplyWrite, item, position,
                          position < kIdLength ? idText[position] : 0);
      }
      const auto kept = keeps.find(item);
      values[item] = kept != keeps.end() ? kept->second : request[6];
      return ReplyBytes(address, kReplyWrite, item, values[item]);
    }
    default:
      return {};
  }
}

void ScriptedCamera::Reply(const Bytes& bytes) {
  // The reply crosses the wire at the camera's speed; each part is handed
  // over when its last byte has arrived.
  const VirtualUs start = clock_.Now() + turnaround;
  size_t offset = 0;
  VirtualUs at = start;
  auto send = [&](size_t count) {
    const Bytes part(bytes.begin() + static_cast<long>(offset),
                     bytes.begin() + static_cast<long>(offset + count));
    offset += count;
    const VirtualUs arrival = at + static_cast<VirtualUs>(count) * FakePort::ByteTime(baud);
    sends_.push_back(clock_.At(arrival, [this, part] {
      if (deliver) deliver(part);
    }));
    at = arrival + partGap;
  };
  for (const size_t size : replyParts) {
    if (offset >= bytes.size()) break;
    send(std::min(size, bytes.size() - offset));
  }
  if (offset < bytes.size()) send(bytes.size() - offset);
  if (sends_.size() > 1024) {
    sends_.erase(std::remove_if(sends_.begin(), sends_.end(),
                                [this](auto id) { return !clock_.Pending(id); }),
                 sends_.end());
  }
}
