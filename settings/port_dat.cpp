#include "settings/port_dat.h"

#include <array>

namespace {

std::optional<int> CodeOfLine(const std::string& line) {
  const size_t separator = line.find('&');
  if (separator == std::string::npos) return std::nullopt;
  const std::string text = line.substr(separator + 1);
  if (text.empty() || text.size() > 9) return std::nullopt;
  int code = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    code = code * 10 + (c - '0');
  }
  return code;
}

}  // namespace

PortDatCodes ReadPortDat(const std::string& text) {
  std::array<std::string, 3> lines;
  size_t line = 0;
  for (size_t i = 0; i < text.size() && line < lines.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
    } else {
      lines[line] += c;
    }
  }
  return {CodeOfLine(lines[0]), CodeOfLine(lines[1]), CodeOfLine(lines[2])};
}

std::string PortDatText(int portCode, int baudCode, int protocolCode) {
  std::string text = "Port&" + std::to_string(portCode) + "\r\nBaud Rate&";
  if (baudCode >= 0) text += std::to_string(baudCode);
  text += "\r\nProtocol&";
  if (protocolCode >= 0) text += std::to_string(protocolCode);
  return text;
}
