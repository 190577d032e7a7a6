#include "link/ptz_frames.h"

#include <cstring>

const uint8_t* PtzTemplate(PtzProtocol protocol, PtzCommand command) {
  return PtzProtocolOf(protocol).templates[static_cast<size_t>(command)];
}

size_t PtzTemplateLength(PtzProtocol protocol) {
  return PtzProtocolOf(protocol).templateLength;
}

uint8_t PtzAddressByte(PtzProtocol protocol, uint8_t cameraAddress) {
  return PtzProtocolOf(protocol).addressMinusOne ? static_cast<uint8_t>(cameraAddress - 1)
                                                 : cameraAddress;
}

int PtzAddressOfByte(PtzProtocol protocol, uint8_t addressByte) {
  return PtzProtocolOf(protocol).addressMinusOne ? addressByte + 1 : addressByte;
}

uint8_t PtzStartByte(PtzProtocol protocol) {
  return PtzTemplate(protocol, PtzCommand::Stop)[0];
}

size_t PtzFrameLength(PtzProtocol protocol, const uint8_t* frame, size_t count) {
  return PtzProtocolOf(protocol).frameLength(frame, count);
}

size_t PtzChecksum(uint8_t* area, PtzProtocol protocol) {
  return PtzProtocolOf(protocol).checksum(area);
}

PtzFrameRef BuildPtzFrame(uint8_t* ptzFrame, PtzProtocol protocol, PtzCommand command,
                          uint8_t cameraAddress) {
  uint8_t* area = ptzFrame + PtzProtocolOf(protocol).frameOffset;
  std::memcpy(area, PtzTemplate(protocol, command), PtzTemplateLength(protocol));
  area[1] = PtzAddressByte(protocol, cameraAddress);
  const size_t length = PtzChecksum(area, protocol);
  return {area, length};
}
