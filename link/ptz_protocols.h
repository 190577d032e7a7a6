// The PTZ protocols, one row each: everything that differs between them.
// The Protocol menu, the poll's protocol code, "Port.dat", the status bar, the
// PTZ buttons, the frame decoder, the line monitor, the simulator and
// zelta-cli's --protocol read the rows by loops, so a new protocol is one more
// row in link/ptz_protocols.cpp. This header changes only when a row gains a
// field, never for a new row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A protocol by its code, which is its row: the code the poll and the
// protocol state reply carry, "Port.dat" stores and the Protocol menu item
// holds. The names are for the places that mean one protocol in particular.
enum PtzProtocol : uint8_t { kProtocolPelcoP = 0, kProtocolPelcoD = 1, kProtocolErnitec = 2 };

enum class PtzCommand : uint8_t { Up, Down, Stop, Select, OsdOn, Colour, WhiteBalance };
constexpr size_t kPtzCommandCount = 7;
// The longest template; shorter ones are stored with trailing zeros.
constexpr size_t kPtzTemplateMax = 8;

struct PtzDecoded;

struct PtzProtocolRow {
  const char* menuItem;     // the Protocol menu item's object name: "PelcoP"
  const char* menuCaption;  // its caption: "Pelco P"
  const char* displayName;  // status bar, trace and monitor: "PELCO P"
  const char* commandName;  // zelta-cli and zelta-camsim --protocol: "pelco-p"
  const char* shortName;    // zelta-camsim's one-letter name: "P"
  uint8_t frameOffset;      // where its frames are built in the PTZ frame buffer
  bool addressMinusOne;     // the address byte is the address - 1 (else the address)
  uint8_t templateLength;   // as stored; the frame may be shorter (frameLength)
  // Per PtzCommand; the address and checksum bytes are zero.
  uint8_t templates[kPtzCommandCount][kPtzTemplateMax];
  // The length of a frame of which `count` bytes have arrived.
  size_t (*frameLength)(const uint8_t* frame, size_t count);
  // Writes the checksum into the frame in place (adding onto the byte where
  // the sum is additive); returns the frame's length.
  size_t (*checksum)(uint8_t* frame);
  // A fault of form besides length and checksum ("no end byte"), or nullptr.
  const char* (*formFault)(const uint8_t* frame);
  // The command of a frame whose checksum holds; nullptr: found by the templates.
  void (*decode)(const uint8_t* frame, PtzDecoded& out);
};

size_t PtzProtocolCount();
bool IsPtzProtocol(int code);
// The row of a protocol; the first row for a code without one.
const PtzProtocolRow& PtzProtocolOf(PtzProtocol protocol);
// "pelco-p, pelco-d or ernitec": the command names in code order, for help texts.
std::string PtzCommandNameList();
inline PtzProtocol PtzProtocolAt(size_t code) {
  return static_cast<PtzProtocol>(code);
}
