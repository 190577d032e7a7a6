#include "link/address_list.h"

#include <algorithm>
#include <cctype>

namespace {

// Splits at commas and blanks; a blank next to a dash belongs to its range.
std::vector<std::string> Pieces(const std::string& text) {
  std::string joined;
  for (const char c : text) {
    if (c == ' ' || c == '\t') {
      if (!joined.empty() && joined.back() != ',' && joined.back() != '-') joined += ',';
    } else if (c == '-' && !joined.empty() && joined.back() == ',') {
      // The comma stands for blanks here: a typed comma before a dash was
      // refused before.
      joined.back() = '-';
    } else {
      joined += c;
    }
  }
  std::vector<std::string> pieces;
  std::string piece;
  for (const char c : joined + ",") {
    if (c != ',') {
      piece += c;
    } else if (!piece.empty()) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  return pieces;
}

// An address, or -1 with the error set.
int Number(const std::string& digits, const std::string& piece, std::string& error) {
  if (digits.empty() || digits.size() > 3 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(c) != 0; })) {
    error = "\"" + piece + "\" is not an address or a range like 2-32";
    return -1;
  }
  const int number = std::stoi(digits);
  if (number < kFirstCameraAddress || number > kLastCameraAddress) {
    error = "Address " + digits + " is outside 1..199";
    return -1;
  }
  return number;
}

// A dash right after a comma (blanks between or not) starts no range: "1,-5"
// is a typo, not 1-5. The error names the dash's place, counted from 1.
std::string DashAfterComma(const std::string& text) {
  char before = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t') continue;
    if (c == '-' && before == ',') {
      return "A dash right after a comma at position " + std::to_string(i + 1) + " of \"" + text +
             "\": give a range as 2-32";
    }
    before = c;
  }
  return {};
}

}  // namespace

AddressList ParseAddressList(const std::string& text) {
  AddressList list;
  list.error = DashAfterComma(text);
  if (!list.error.empty()) return list;
  const std::vector<std::string> pieces = Pieces(text);
  if (pieces.empty()) {
    list.error = "No addresses given";
    return list;
  }
  std::vector<bool> taken(kLastCameraAddress + 1, false);
  for (const std::string& piece : pieces) {
    const size_t dash = piece.find('-');
    const std::string first = piece.substr(0, dash);
    const int from = Number(first, piece, list.error);
    const int to =
        dash == std::string::npos ? from : Number(piece.substr(dash + 1), piece, list.error);
    if (from < 0 || to < 0) break;
    if (from > to) {
      list.error = "Range " + piece + " runs backwards";
      break;
    }
    for (int address = from; address <= to; ++address) {
      if (taken[address]) continue;
      taken[address] = true;
      list.addresses.push_back(static_cast<uint8_t>(address));
    }
  }
  if (!list.error.empty()) list.addresses.clear();
  return list;
}
