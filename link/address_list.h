// The address lists an installer types: "2-32, 40".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr uint8_t kFirstCameraAddress = 1;
constexpr uint8_t kLastCameraAddress = 199;

struct AddressList {
  std::vector<uint8_t> addresses;  // in the order typed, each once
  std::string error;               // empty when the text was good
};

// Numbers and ranges ("a-b", a <= b) separated by commas or blanks, each
// within 1..199. Any fault gives an error naming it and no addresses; a dash
// right after a comma ("1,-5") is one, named with its position.
AddressList ParseAddressList(const std::string& text);
