#include "comm/comm_error.h"

namespace {

std::string Format(const char* format, int code) {
  std::string text(format);
  const auto at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(code));
  return text;
}

}  // namespace

ECommError::ECommError(const char* format, int code)
    : std::runtime_error(Format(format, code)), code_(code) {}
