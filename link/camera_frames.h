// The camera settings protocol's 10-byte frames: templates, builders,
// checksum and the rule by which a reply is accepted.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kFrameSize = 10;
constexpr uint8_t kFrameStart = 0xCC;
constexpr uint8_t kFrameMark = 0x01;  // bytes 1 and 2 of every frame

// Byte positions in a frame.
constexpr size_t kFrameLead = 0;   // kFrameStart
constexpr size_t kFrameMark1 = 1;  // kFrameMark
constexpr size_t kFrameMark2 = 2;  // kFrameMark
constexpr size_t kFrameAddress = 3;
constexpr size_t kFrameCode = 4;  // command or reply code
// Item code; the speed code in a protocol state reply.
constexpr size_t kFrameItem = 5;
// Value; the ID position for the ID text; the protocol code in a protocol state reply.
constexpr size_t kFrameValue = 6;
// The ID character; the protocol code in a poll.
constexpr size_t kFrameExtra = 7;
constexpr size_t kFrameChecksum = 9;  // sum of bytes 1..8

// Command codes (PC to camera).
constexpr uint8_t kCmdRead = 0x01;
constexpr uint8_t kCmdPoll = 0x02;
constexpr uint8_t kCmdWrite = 0x03;
constexpr uint8_t kCmdGetProtocolState = 0x04;
constexpr uint8_t kCmdProtocolSpeed = 0x06;

// Reply codes (camera to PC).
constexpr uint8_t kReplyRead = 0x81;
constexpr uint8_t kReplyPoll = 0x82;
constexpr uint8_t kReplyWrite = 0x83;
constexpr uint8_t kReplyProtocolState = 0x84;

// The five command templates: poll, read, write, Get Protocol State, ProtocolSpeed.
enum class FrameTemplate : uint8_t { Poll, Read, Write, GetProtocolState, ProtocolSpeed };
extern const uint8_t kCommandTemplates[5][kFrameSize];

// Sum of bytes 1..8 kept to 8 bits; the start byte is not summed.
uint8_t FrameChecksum(const uint8_t* frame);

// Builders: copy the template into `frame` (10 bytes), fill it, set byte 9.
void BuildPollFrame(uint8_t* frame, uint8_t address, uint8_t protocolCode);
// `idPosition` is carried only for item 0x0A.
void BuildReadFrame(uint8_t* frame, uint8_t address, uint8_t item, uint8_t idPosition);
void BuildWriteFrame(uint8_t* frame, uint8_t address, uint8_t item, uint8_t value, uint8_t extra);
void BuildGetProtocolStateFrame(uint8_t* frame);
void BuildProtocolSpeedFrame(uint8_t* frame);

// A reply as a camera builds it (used by the simulator and by tests).
void BuildReplyFrame(uint8_t* frame, uint8_t address, uint8_t code, uint8_t byte5, uint8_t byte6,
                     uint8_t byte7);

// A reply is accepted when its checksum is right, bytes 1 and 2 are 0x01, its
// code is 0x81..0x84, and it comes from `cameraAddress` or is a 0x84.
bool ReplyAccepted(const uint8_t* frame, uint8_t cameraAddress);
