// The line speeds the program and the camera share, one row per speed in code
// order: the code (as "Port.dat", the Baud rate menu and the protocol state
// reply carry it) is the row's index. Everything that depends on a speed
// (conversions, the Baud rate menu, the ProtocolSpeed sweep, the Get Protocol
// State search) reads this table, so a new speed is one more row. The rows
// live in line_speeds.cpp, so that a new one rebuilds that file alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct LineSpeed {
  int bitsPerSecond;
  // Time the last byte needs to clear the line driver before RTS turns it round.
  int guardTimeMs;
  // Status text while Get Protocol State tries this speed: more dots, faster.
  const char* probeText;
};

// The rows in code order; indexed by code, walked with a range for.
struct LineSpeedTable {
  const LineSpeed* rows;
  size_t count;
  const LineSpeed& operator[](size_t code) const { return rows[code]; }
  const LineSpeed* begin() const { return rows; }
  const LineSpeed* end() const { return rows + count; }
};
extern const LineSpeedTable kLineSpeeds;
extern const size_t kLineSpeedCount;

// Codes of the rows, for the places that mean one speed in particular.
constexpr uint8_t kBaudCode1200 = 0;
constexpr uint8_t kBaudCode2400 = 1;
constexpr uint8_t kBaudCode4800 = 2;
constexpr uint8_t kBaudCode9600 = 3;

// Bits per second of a code, or 0 for a code without a row.
int BaudOfCode(uint8_t code);
// Code of a speed, or -1 when no row has it.
int CodeOfBaud(int bitsPerSecond);
// "Baud Rate : 4800" for a code with a row, empty otherwise.
std::string BaudRateText(uint8_t code);
// Guard time of a speed in milliseconds; 0 for a speed without a row.
int GuardTimeMs(int bitsPerSecond);
// Get Protocol State status text of a speed; empty for a speed without a row.
std::string ProbeRateText(int bitsPerSecond);
