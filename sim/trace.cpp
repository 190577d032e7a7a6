#include "sim/trace.h"

#include <cstdio>
#include <utility>

SimTrace::SimTrace(Sink trace, Sink menu, int64_t originUs)
    : trace_(std::move(trace)), menu_(std::move(menu)), originUs_(originUs) {}

std::string SimTrace::Stamp(int64_t nowUs) const {
  char text[32];
  if (micro_) {
    const int64_t us = nowUs - originUs_;
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(us / 1000000),
                  static_cast<long long>(us % 1000000));
    return text;
  }
  const int64_t ms = (nowUs - originUs_) / 1000;
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(ms / 1000),
                static_cast<long long>(ms % 1000));
  return text;
}

void SimTrace::Frame(int64_t nowUs, const char* direction, const uint8_t* bytes, size_t count,
                     const std::string& meaning) const {
  if (!trace_) return;
  std::string line = Stamp(nowUs) + " " + direction + " " + HexBytes(bytes, count);
  if (!meaning.empty()) line += " " + meaning;
  trace_(line);
}

void SimTrace::Menu(int64_t nowUs, const std::vector<std::string>& lines) const {
  if (!menu_) return;
  const std::string stamp = Stamp(nowUs);
  for (const std::string& text : lines) menu_(stamp + " " + text);
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0x0F];
  }
  return text;
}
