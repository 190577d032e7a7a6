#include "cli/address_list.h"

#include <sstream>

namespace {

std::optional<int> Address(const std::string& text) {
  if (text.empty() || text.size() > 3 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int address = std::stoi(text);
  if (address < kLowestAddress || address > kHighestAddress) return std::nullopt;
  return address;
}

}  // namespace

std::optional<std::vector<uint8_t>> ParseAddressList(const std::string& text) {
  std::vector<uint8_t> addresses;
  std::istringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    const size_t dash = part.find('-');
    const auto first = Address(part.substr(0, dash));
    const auto last = dash == std::string::npos ? first : Address(part.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    for (int address = *first; address <= *last; ++address) {
      addresses.push_back(static_cast<uint8_t>(address));
    }
  }
  if (addresses.empty()) return std::nullopt;
  return addresses;
}
