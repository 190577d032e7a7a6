// PTZ frames for the camera's on-screen menu: templates of every command in
// Pelco P, Pelco D and ERNITEC, the address byte rule and the checksums.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PtzProtocol : uint8_t { PelcoP = 0, PelcoD = 1, Ernitec = 2 };
enum class PtzCommand : uint8_t { Up, Down, Stop, Select, OsdOn, Colour, WhiteBalance };

constexpr size_t kPtzFrameSize = 14;
// Pelco P and Pelco D frames are built at offset 0, ERNITEC frames at offset 8.
constexpr size_t kErnitecOffset = 8;

// The template of a command (address and checksum bytes zero) and its length
// as stored (8 Pelco P, 7 Pelco D, 6 ERNITEC).
const uint8_t* PtzTemplate(PtzProtocol protocol, PtzCommand command);
size_t PtzTemplateLength(PtzProtocol protocol);

// The address byte: address - 1 in 8 bits for Pelco P and ERNITEC, the address for Pelco D.
uint8_t PtzAddressByte(PtzProtocol protocol, uint8_t cameraAddress);
// The camera address an address byte names (1..256 for Pelco P and ERNITEC).
int PtzAddressOfByte(PtzProtocol protocol, uint8_t addressByte);

// The first byte of every frame of a protocol.
uint8_t PtzStartByte(PtzProtocol protocol);
// The length of a frame of `protocol` of which `count` bytes are in: ERNITEC's
// follows from bytes 2 and 3, and is taken as 5 until they have arrived.
size_t PtzFrameLength(PtzProtocol protocol, const uint8_t* frame, size_t count);

// Computes the checksum of the frame at `area` in place and returns the frame's
// length (8, 7, or 5/6 for ERNITEC by the form its byte 2 gives).
size_t PtzChecksum(uint8_t* area, PtzProtocol protocol);

// Builds one frame in its area of `ptzFrame` (14 bytes): template, address byte,
// checksum. Returns the frame's start in the buffer and its length.
struct PtzFrameRef {
  const uint8_t* data;
  size_t length;
};
PtzFrameRef BuildPtzFrame(uint8_t* ptzFrame, PtzProtocol protocol, PtzCommand command,
                          uint8_t cameraAddress);

// The ERNITEC frame length that byte 2 (and byte 3) give: 6 or 5.
size_t ErnitecFrameLength(uint8_t byte2, uint8_t byte3);
