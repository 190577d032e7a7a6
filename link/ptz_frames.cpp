#include "link/ptz_frames.h"

#include <cstring>

namespace {

constexpr uint8_t kPelcoP[7][8] = {
    {0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x00},  // Up
    {0xA0, 0x00, 0x00, 0x10, 0x00, 0x3F, 0xAF, 0x00},  // Down
    {0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0xAF, 0x00},  // Stop
    {0xA0, 0x00, 0x04, 0x00, 0x00, 0x00, 0xAF, 0x00},  // Select
    {0xA0, 0x00, 0x00, 0x03, 0x00, 0x5F, 0xAF, 0x00},  // OSD on
    {0xA0, 0x00, 0x00, 0x07, 0x00, 0x58, 0xAF, 0x00},  // Colour
    {0xA0, 0x00, 0x00, 0x07, 0x00, 0x59, 0xAF, 0x00},  // White balance
};
constexpr uint8_t kPelcoD[7][7] = {
    {0xFF, 0x00, 0x00, 0x08, 0x00, 0x3F, 0x00}, {0xFF, 0x00, 0x00, 0x10, 0x00, 0x3F, 0x00},
    {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0xFF, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00},
    {0xFF, 0x00, 0x00, 0x03, 0x00, 0x5F, 0x00}, {0xFF, 0x00, 0x00, 0x07, 0x00, 0x58, 0x00},
    {0xFF, 0x00, 0x00, 0x07, 0x00, 0x59, 0x00},
};
// The 5-byte forms are stored with a trailing zero.
constexpr uint8_t kErnitec[7][6] = {
    {0x02, 0x00, 0x01, 0x04, 0x00, 0x00}, {0x02, 0x00, 0x01, 0x08, 0x00, 0x00},
    {0x02, 0x00, 0x01, 0x00, 0x00, 0x00}, {0x02, 0x00, 0x01, 0x00, 0x01, 0x00},
    {0x02, 0x00, 0x02, 0x5F, 0x00, 0x00}, {0x02, 0x00, 0x02, 0x58, 0x00, 0x00},
    {0x02, 0x00, 0x02, 0x59, 0x00, 0x00},
};

}  // namespace

const uint8_t* PtzTemplate(PtzProtocol protocol, PtzCommand command) {
  const auto index = static_cast<size_t>(command);
  switch (protocol) {
    case PtzProtocol::PelcoP:
      return kPelcoP[index];
    case PtzProtocol::PelcoD:
      return kPelcoD[index];
    case PtzProtocol::Ernitec:
      return kErnitec[index];
  }
  return kPelcoP[index];
}

size_t PtzTemplateLength(PtzProtocol protocol) {
  switch (protocol) {
    case PtzProtocol::PelcoP:
      return 8;
    case PtzProtocol::PelcoD:
      return 7;
    case PtzProtocol::Ernitec:
      return 6;
  }
  return 8;
}

uint8_t PtzAddressByte(PtzProtocol protocol, uint8_t cameraAddress) {
  return protocol == PtzProtocol::PelcoD ? cameraAddress : static_cast<uint8_t>(cameraAddress - 1);
}

int PtzAddressOfByte(PtzProtocol protocol, uint8_t addressByte) {
  return protocol == PtzProtocol::PelcoD ? addressByte : addressByte + 1;
}

uint8_t PtzStartByte(PtzProtocol protocol) {
  return PtzTemplate(protocol, PtzCommand::Stop)[0];
}

size_t PtzFrameLength(PtzProtocol protocol, const uint8_t* frame, size_t count) {
  if (protocol != PtzProtocol::Ernitec) return PtzTemplateLength(protocol);
  return count < 4 ? 5 : ErnitecFrameLength(frame[2], frame[3]);
}

size_t ErnitecFrameLength(uint8_t byte2, uint8_t byte3) {
  const bool sixBytes = byte2 == 0x01 || byte2 >= 0x0D || (byte2 == 0x0C && byte3 <= 0x80);
  return sixBytes ? 6 : 5;
}

size_t PtzChecksum(uint8_t* area, PtzProtocol protocol) {
  switch (protocol) {
    case PtzProtocol::PelcoP:
      area[7] = static_cast<uint8_t>(0x0F ^ area[1] ^ area[2] ^ area[3] ^ area[4] ^ area[5]);
      return 8;
    case PtzProtocol::PelcoD:
      area[6] = static_cast<uint8_t>(area[6] + area[1] + area[2] + area[3] + area[4] + area[5]);
      return 7;
    case PtzProtocol::Ernitec: {
      const size_t length = ErnitecFrameLength(area[2], area[3]);
      unsigned sum = area[length - 1];
      for (size_t i = 0; i + 1 < length; ++i) sum += area[i];
      area[length - 1] = static_cast<uint8_t>(sum);
      return length;
    }
  }
  return 0;
}

PtzFrameRef BuildPtzFrame(uint8_t* ptzFrame, PtzProtocol protocol, PtzCommand command,
                          uint8_t cameraAddress) {
  uint8_t* area = ptzFrame + (protocol == PtzProtocol::Ernitec ? kErnitecOffset : 0);
  std::memcpy(area, PtzTemplate(protocol, command), PtzTemplateLength(protocol));
  area[1] = PtzAddressByte(protocol, cameraAddress);
  const size_t length = PtzChecksum(area, protocol);
  return {area, length};
}
