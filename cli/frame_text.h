// A frame as one line of text: its bytes in hex, and what it means where
// that is known.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "A0 01 00 ..." (upper case, one blank between bytes).
std::string FrameHex(const std::vector<uint8_t>& bytes);
// What a received frame means; empty while nothing decodes it.
std::string FrameMeaning(const std::vector<uint8_t>& bytes);
