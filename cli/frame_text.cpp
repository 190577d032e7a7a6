#include "cli/frame_text.h"

#include <cstdio>

#include "link/frame_meaning.h"
#include "link/line_splitter.h"

std::string FrameHex(const std::vector<uint8_t>& bytes) {
  std::string text;
  for (const uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    text += (text.empty() ? "" : " ") + std::string(hex);
  }
  return text;
}

std::string FrameMeaning(const std::vector<uint8_t>& bytes) {
  // The engine's receiver has ended the frame already: what the splitter
  // still holds at the end is cut off.
  LineSplitter splitter;
  std::vector<LinePiece> pieces = splitter.Feed(bytes.data(), bytes.size(), 0);
  for (LinePiece& piece : splitter.Abandon()) pieces.push_back(std::move(piece));
  std::string text;
  for (const LinePiece& piece : pieces) text += (text.empty() ? "" : "; ") + DescribePiece(piece);
  return text;
}

std::string Latin1Text(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}
