// What a frame on the line means, in words: the simulator's trace and the
// line monitor both describe what they see with these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/line_splitter.h"

// One complete frame as seen on the line, in either direction:
//   "poll addr 1 proto PELCO P", "read SHUTTER addr 1",
//   "write WHITE BAL = 3 (MANUAL) addr 23", "read reply WHITE BAL = 3 (MANUAL) addr 23",
//   "get protocol state addr 0", "protocol state reply addr 37, 9600 baud, PELCO D",
//   "PELCO D Up addr 1", "PELCO P dropped: bad checksum", "dropped: bad checksum".
std::string DescribeFrame(const uint8_t* bytes, size_t count);
// A piece the splitter yields: a frame as above, "garbage 3 bytes" or "dropped: partial frame".
std::string DescribePiece(const LinePiece& piece);

// Name of an item: "WHITE BAL", "Red", "COL>BW DELAY", "item 0x0E".
std::string ItemName(uint8_t item);
// Readable value of an item: the list entry ("AUTO", "IRIS"), or the number.
std::string ValueText(uint8_t item, uint8_t value);
// "3 (MANUAL)", "40", "0x50 (5 s)": a value with its meaning when it has one.
std::string DescribeValue(uint8_t item, uint8_t value);
