#include "bench/sim_trace.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool ParseStamp(const std::string& text, int64_t& us) {
  const size_t dot = text.find('.');
  if (dot == std::string::npos || dot == 0) return false;
  const std::string fraction = text.substr(dot + 1);
  if (fraction.empty() || fraction.size() > 6) return false;
  int64_t micro = std::strtoll(fraction.c_str(), nullptr, 10);
  for (size_t i = fraction.size(); i < 6; ++i) micro *= 10;
  us = std::strtoll(text.substr(0, dot).c_str(), nullptr, 10) * 1000000 + micro;
  return true;
}

bool IsHexByte(const std::string& token) {
  return token.size() == 2 && std::isxdigit(static_cast<unsigned char>(token[0])) &&
         std::isxdigit(static_cast<unsigned char>(token[1]));
}

}  // namespace

std::vector<SimTraceLine> ReadSimTrace(const std::string& path, long& offset) {
  std::vector<SimTraceLine> lines;
  std::ifstream in(path, std::ios::binary);
  if (!in) return lines;
  in.seekg(offset);
  std::string text;
  while (std::getline(in, text)) {
    if (in.eof()) break;  // a line still being written
    offset = static_cast<long>(in.tellg());
    std::istringstream words(text);
    std::string stamp, direction, token;
    SimTraceLine line;
    if (!(words >> stamp >> direction) || !ParseStamp(stamp, line.us)) continue;
    if (direction != "TX" && direction != "RX") continue;
    line.tx = direction == "TX";
    while (words >> token) {
      if (!IsHexByte(token)) {
        std::string rest;
        std::getline(words, rest);
        line.meaning = token + rest;
        break;
      }
      line.bytes.push_back(static_cast<uint8_t>(std::strtoul(token.c_str(), nullptr, 16)));
    }
    lines.push_back(std::move(line));
  }
  return lines;
}
