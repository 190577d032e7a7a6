// The values of the simulator's options: numbers, rates, protocols, items
// and camera addresses as a person types them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/ptz_frames.h"

// Decimal, or hexadecimal with 0x; the whole text must be the number.
bool ParseNumber(const std::string& text, long min, long max, long& value);
// A chance from 0 to 1.
bool ParseRate(const std::string& text, double& value);
// pelco-p, pelco-d, ernitec (or P, D, E, 0, 1, 2), in any case.
bool ParseProtocol(const std::string& text, PtzProtocol& protocol);
// An item by code (0x09, 9) or by name (SHUTTER, "WHITE BAL", white-bal, Red,
// COL>BW): its code, or -1.
int ParseItemName(const std::string& text);

// Addresses like "1-8,12,20-22" (each 1..255), in rising order, each once;
// false when the text is not such a list.
bool ParseAddressList(const std::string& text, std::vector<uint8_t>& addresses);
// The list written back in the same form.
std::string AddressListText(const std::vector<uint8_t>& addresses);
// "3:SHUTTER=2" is 3 and "SHUTTER=2"; false when no address is in front.
bool SplitAddress(const std::string& text, uint8_t& address, std::string& rest);
