// A frame as one line of text: its bytes in hex, and what it means.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "A0 01 00 ..." (upper case, one blank between bytes).
std::string FrameHex(const std::vector<uint8_t>& bytes);
// What bytes taken as one frame mean, in the link's words ("poll reply addr 1");
// stray bytes and a broken frame are named as such, pieces joined by "; ".
std::string FrameMeaning(const std::vector<uint8_t>& bytes);
// The camera's bytes as text: each byte the character of that code
// (Latin-1), so any ID makes valid JSON.
std::string Latin1Text(const std::string& bytes);
