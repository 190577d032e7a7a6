#include "sim/option_values.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "link/camera_items.h"
#include "link/frame_meaning.h"

namespace {

std::string Normalized(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

}  // namespace

// Decimal, or hexadecimal with 0x; the whole text must be the number.
bool ParseNumber(const std::string& text, long min, long max, long& value) {
  if (text.empty()) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* start = text.c_str() + (hex ? 2 : 0);
  if (*start == '-' || *start == '+' || std::isspace(static_cast<unsigned char>(*start))) {
    return false;
  }
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(start, &end, hex ? 16 : 10);
  if (errno != 0 || end == start || *end != '\0') return false;
  if (parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

bool ParseRate(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(parsed >= 0.0 && parsed <= 1.0)) return false;
  value = parsed;
  return true;
}

bool ParseProtocol(const std::string& text, PtzProtocol& protocol) {
  const std::string name = Normalized(text);
  for (size_t code = 0; code < PtzProtocolCount(); ++code) {
    const PtzProtocolRow& row = PtzProtocolOf(PtzProtocolAt(code));
    if (name == Normalized(row.commandName) || name == row.shortName ||
        name == std::to_string(code)) {
      protocol = PtzProtocolAt(code);
      return true;
    }
  }
  return false;
}

int ParseItemName(const std::string& text) {
  long number = 0;
  if (ParseNumber(text, 0, 255, number)) {
    return FindCameraItem(static_cast<uint8_t>(number)) != nullptr ? static_cast<int>(number) : -1;
  }
  const std::string name = Normalized(text);
  if (name.empty()) return -1;
  for (const CameraItem& item : CameraItems()) {
    if (Normalized(ItemName(item.code)) == name || Normalized(item.label) == name ||
        Normalized(item.statusWord) == name) {
      return item.code;
    }
  }
  return -1;
}

bool ParseAddressList(const std::string& text, std::vector<uint8_t>& addresses) {
  std::vector<uint8_t> found;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma == std::string::npos ? comma : comma - start);
    const size_t dash = part.find('-', 1);
    long first = 0;
    long last = 0;
    if (!ParseNumber(part.substr(0, dash), 1, 255, first)) return false;
    last = first;
    if (dash != std::string::npos && !ParseNumber(part.substr(dash + 1), first, 255, last)) {
      return false;
    }
    for (long address = first; address <= last; ++address) {
      found.push_back(static_cast<uint8_t>(address));
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  addresses = found;
  return true;
}

std::string AddressListText(const std::vector<uint8_t>& addresses) {
  std::string text;
  for (size_t i = 0; i < addresses.size();) {
    size_t j = i;
    while (j + 1 < addresses.size() && addresses[j + 1] == addresses[j] + 1) ++j;
    if (!text.empty()) text += ',';
    text += std::to_string(addresses[i]);
    if (j > i) text += '-' + std::to_string(addresses[j]);
    i = j + 1;
  }
  return text;
}

bool SplitAddress(const std::string& text, uint8_t& address, std::string& rest) {
  const size_t colon = text.find(':');
  long number = 0;
  if (colon == std::string::npos || !ParseNumber(text.substr(0, colon), 1, 255, number)) {
    return false;
  }
  address = static_cast<uint8_t>(number);
  rest = text.substr(colon + 1);
  return true;
}
