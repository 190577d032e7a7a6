#include "link/camera_frames.h"

#include <cstring>

#include "link/camera_items.h"

const uint8_t kCommandTemplates[5][kFrameSize] = {
    {kFrameStart, 0x01, 0x01, 0x00, kCmdPoll, 0, 0, 0, 0, 0},
    {kFrameStart, 0x01, 0x01, 0x00, kCmdRead, 0, 0, 0, 0, 0},
    {kFrameStart, 0x01, 0x01, 0x00, kCmdWrite, 0, 0, 0, 0, 0},
    {kFrameStart, 0x01, 0x01, 0x00, kCmdGetProtocolState, 0, 0, 0, 0, 0},
    {kFrameStart, 0x01, 0x01, 0x00, kCmdProtocolSpeed, 0, 0, 0, 0, 0},
};

namespace {

void CopyTemplate(uint8_t* frame, FrameTemplate which) {
  std::memcpy(frame, kCommandTemplates[static_cast<int>(which)], kFrameSize);
}

void Seal(uint8_t* frame) {
  frame[9] = FrameChecksum(frame);
}

}  // namespace

uint8_t FrameChecksum(const uint8_t* frame) {
  unsigned sum = 0;
  for (size_t i = 1; i <= 8; ++i) sum += frame[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

void BuildPollFrame(uint8_t* frame, uint8_t address, uint8_t protocolCode) {
  CopyTemplate(frame, FrameTemplate::Poll);
  frame[3] = address;
  frame[7] = protocolCode;
  Seal(frame);
}

void BuildReadFrame(uint8_t* frame, uint8_t address, uint8_t item, uint8_t idPosition) {
  CopyTemplate(frame, FrameTemplate::Read);
  frame[3] = address;
  frame[5] = item;
  if (item == kItemId) frame[6] = idPosition;
  Seal(frame);
}

void BuildWriteFrame(uint8_t* frame, uint8_t address, uint8_t item, uint8_t value, uint8_t extra) {
  CopyTemplate(frame, FrameTemplate::Write);
  frame[3] = address;
  frame[5] = item;
  frame[6] = value;
  if (item == kItemId) frame[7] = extra;
  Seal(frame);
}

void BuildGetProtocolStateFrame(uint8_t* frame) {
  CopyTemplate(frame, FrameTemplate::GetProtocolState);
  Seal(frame);
}

void BuildProtocolSpeedFrame(uint8_t* frame) {
  CopyTemplate(frame, FrameTemplate::ProtocolSpeed);
  Seal(frame);
}

void BuildReplyFrame(uint8_t* frame, uint8_t address, uint8_t code, uint8_t byte5, uint8_t byte6,
                     uint8_t byte7) {
  const uint8_t bytes[kFrameSize] = {kFrameStart, 0x01,  0x01,  address, code,
                                     byte5,       byte6, byte7, 0x00,    0x00};
  std::memcpy(frame, bytes, kFrameSize);
  Seal(frame);
}

bool ReplyAccepted(const uint8_t* frame, uint8_t cameraAddress) {
  if (frame[9] != FrameChecksum(frame)) return false;
  if (frame[1] != 0x01 || frame[2] != 0x01) return false;
  const uint8_t code = frame[4];
  if (code < kReplyRead || code > kReplyProtocolState) return false;
  return frame[3] == cameraAddress || code == kReplyProtocolState;
}
