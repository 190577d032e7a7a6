// Camera address lists such as "2-32,40": ranges and single addresses, each
// 1..199, in the order given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr int kLowestAddress = 1;
constexpr int kHighestAddress = 199;

// Empty when the text is no such list.
std::optional<std::vector<uint8_t>> ParseAddressList(const std::string& text);
