// The simulator's trace: one line per frame in or out, with a timestamp, the
// direction, the bytes in hex and what they mean. People and tests read it
// while the simulator runs, so every line is handed to its sink at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SimTrace {
 public:
  using Sink = std::function<void(const std::string& line)>;

  // `trace` receives frame lines; `menu` receives the on-screen menu and
  // notes meant for a person watching (it may be the same place).
  SimTrace(Sink trace, Sink menu, int64_t originUs = 0);

  // "12.345 RX CC 01 01 01 02 00 00 00 00 04 poll addr 1 proto PELCO P"
  void Frame(int64_t nowUs, const char* direction, const uint8_t* bytes, size_t count,
             const std::string& meaning) const;
  // Lines for a person, each with the timestamp in front.
  void Menu(int64_t nowUs, const std::vector<std::string>& lines) const;
  // Stamps with six decimals (microseconds) instead of three.
  void SetMicroseconds(bool on) { micro_ = on; }

 private:
  std::string Stamp(int64_t nowUs) const;

  Sink trace_;
  Sink menu_;
  int64_t originUs_;
  bool micro_ = false;
};

// "CC 01 01"
std::string HexBytes(const uint8_t* bytes, size_t count);
