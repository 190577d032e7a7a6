// What the simulated camera is: its line settings, starting values and the
// behaviours that imitate particular camera models and imperfect lines.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "link/ptz_frames.h"

struct TCameraConfig {
  uint8_t address = 1;
  int baud = 4800;
  PtzProtocol protocol = kProtocolPelcoP;

  // Starting values by item code (any byte, so odd values can be served).
  std::map<uint8_t, uint8_t> startValues;
  // Starting ID text, padded with blanks to 16; without it the ID is 16 zero bytes.
  bool hasIdText = false;
  std::string idText;

  bool iris = false;          // reports SHUTTER 9 ("IRIS") until a shutter value is written
  bool dcSync = false;        // a DC-powered camera: SYNC is always 2 ("---")
  bool aiLens = false;        // refuses SHUTTER AUTO on write, answers its own shutter value
  std::set<uint8_t> refused;  // items whose writes are answered with another value

  int replyDelayMs = 0;
  // A USB adapter at the tool's end holds each piece of a reply this long
  // before handing it over, as its latency timer does.
  int adapterLatencyMs = 0;
  bool lineTiming = false;  // each byte leaves after 10 bit times at the line's speed
  bool split = false;       // replies leave in three pieces with short gaps
  double noiseRate = 0.0;   // chance of a burst of random bytes before a reply
  uint32_t seed = 1;
  long silentAfter = -1;  // stop answering after this many replies; -1 never
  // With silentAfter: answer again this long after the first request left
  // unanswered, as a camera that lost its power and restarted; -1 never.
  long silentForMs = -1;
  double corruptRate = 0.0;         // chance of one damaged byte in a reply
  double corruptRequestRate = 0.0;  // the same for each request the camera hears
};
