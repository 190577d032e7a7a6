// The one error type of the serial component and its message texts.
#pragma once

#include <stdexcept>
#include <string>

class ECommError : public std::runtime_error {
 public:
  // format holds one "%d", replaced by code in decimal.
  ECommError(const char* format, int code);
  int Code() const { return code_; }

 private:
  int code_;
};

namespace comm_message {
constexpr const char* AlreadyOpen = "Port already assigned (open) (Error: %d)";
constexpr const char* Buffers = "Error initializing Read/Write Buffers (Error: %d)";
constexpr const char* Timeouts = "Error updating CommTimeouts (Error: %d)";
constexpr const char* LineSettings = "Error updating DataControlBlock (Error: %d)";
constexpr const char* Escape = "EscapeCommFunction failure (Error: %d)";
constexpr const char* NotOpen = "Port not open (Error: %d)";
}  // namespace comm_message
