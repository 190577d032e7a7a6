#include "link/camera_frames.h"

#include <cstring>

#include "link/camera_items.h"

const uint8_t kCommandTemplates[5][kFrameSize] = {
    {kFrameStart, kFrameMark, kFrameMark, 0x00, kCmdPoll, 0, 0, 0, 0, 0},
    {kFrameStart, kFrameMark, kFrameMark, 0x00, kCmdRead, 0, 0, 0, 0, 0},
    {kFrameStart, kFrameMark, kFrameMark, 0x00, kCmdWrite, 0, 0, 0, 0, 0},
    {kFrameStart, kFrameMark, kFrameMark, 0x00, kCmdGetProtocolState, 0, 0, 0, 0, 0},
    {kFrameStart, kFrameMark, kFrameMark, 0x00, kCmdProtocolSpeed, 0, 0, 0, 0, 0},
};

namespace {

void CopyTemplate(uint8_t* frame, FrameTemplate which) {
  std::memcpy(frame, kCommandTemplates[static_cast<int>(which)], kFrameSize);
}

void Seal(uint8_t* frame) {
  frame[kFrameChecksum] = FrameChecksum(frame);
}

}  // namespace

uint8_t FrameChecksum(const uint8_t* frame) {
  unsigned sum = 0;
  for (size_t i = kFrameMark1; i < kFrameChecksum; ++i) sum += frame[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

void BuildPollFrame(uint8_t* frame, uint8_t address, uint8_t protocolCode) {
  CopyTemplate(frame, FrameTemplate::Poll);
  frame[kFrameAddress] = address;
  frame[kFrameExtra] = protocolCode;
  Seal(frame);
}

void BuildReadFrame(uint8_t* frame, uint8_t address, uint8_t item, uint8_t idPosition) {
  CopyTemplate(frame, FrameTemplate::Read);
  frame[kFrameAddress] = address;
  frame[kFrameItem] = item;
  if (item == kItemId) frame[kFrameValue] = idPosition;
  Seal(frame);
}

void BuildWriteFrame(uint8_t* frame, uint8_t address, uint8_t item, uint8_t value, uint8_t extra) {
  CopyTemplate(frame, FrameTemplate::Write);
  frame[kFrameAddress] = address;
  frame[kFrameItem] = item;
  frame[kFrameValue] = value;
  if (item == kItemId) frame[kFrameExtra] = extra;
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
  std::memset(frame, 0, kFrameSize);
  frame[kFrameLead] = kFrameStart;
  frame[kFrameMark1] = kFrameMark;
  frame[kFrameMark2] = kFrameMark;
  frame[kFrameAddress] = address;
  frame[kFrameCode] = code;
  frame[kFrameItem] = byte5;
  frame[kFrameValue] = byte6;
  frame[kFrameExtra] = byte7;
  Seal(frame);
}

bool ReplyAccepted(const uint8_t* frame, uint8_t cameraAddress) {
  if (frame[kFrameChecksum] != FrameChecksum(frame)) return false;
  if (frame[kFrameMark1] != kFrameMark || frame[kFrameMark2] != kFrameMark) return false;
  const uint8_t code = frame[kFrameCode];
  if (code < kReplyRead || code > kReplyProtocolState) return false;
  return frame[kFrameAddress] == cameraAddress || code == kReplyProtocolState;
}
