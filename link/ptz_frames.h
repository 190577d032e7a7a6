// PTZ frames for the camera's on-screen menu, built from the rows of
// link/ptz_protocols.h: template, address byte, checksum.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/ptz_protocols.h"

// The program's one PTZ frame buffer is this long; each protocol builds its
// frames at its row's offset.
constexpr size_t kPtzFrameSize = 14;

// The template of a command (address and checksum bytes zero) and its length
// as stored.
const uint8_t* PtzTemplate(PtzProtocol protocol, PtzCommand command);
size_t PtzTemplateLength(PtzProtocol protocol);

// The address byte: the address, or address - 1 in 8 bits, by the row.
uint8_t PtzAddressByte(PtzProtocol protocol, uint8_t cameraAddress);
// The camera address an address byte names (1..256 where the byte is address - 1).
int PtzAddressOfByte(PtzProtocol protocol, uint8_t addressByte);

// The first byte of every frame of a protocol.
uint8_t PtzStartByte(PtzProtocol protocol);
// The length of a frame of `protocol` of which `count` bytes are in.
size_t PtzFrameLength(PtzProtocol protocol, const uint8_t* frame, size_t count);

// Computes the checksum of the frame at `area` in place and returns the frame's length.
size_t PtzChecksum(uint8_t* area, PtzProtocol protocol);

// Builds one frame in its area of `ptzFrame` (kPtzFrameSize bytes): template,
// address byte, checksum. Returns the frame's start in the buffer and its length.
struct PtzFrameRef {
  const uint8_t* data;
  size_t length;
};
PtzFrameRef BuildPtzFrame(uint8_t* ptzFrame, PtzProtocol protocol, PtzCommand command,
                          uint8_t cameraAddress);

// The ERNITEC frame length that byte 2 (and byte 3) give: 6 or 5.
size_t ErnitecFrameLength(uint8_t byte2, uint8_t byte3);
