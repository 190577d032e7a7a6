#include "cli/frame_text.h"

#include <cstdio>

std::string FrameHex(const std::vector<uint8_t>& bytes) {
  std::string text;
  for (const uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    text += (text.empty() ? "" : " ") + std::string(hex);
  }
  return text;
}

std::string FrameMeaning(const std::vector<uint8_t>&) {
  return {};
}
