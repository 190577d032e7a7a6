#include "cli/protocol_names.h"

#include "link/camera_items.h"

const std::map<std::string, uint8_t>& ProtocolCodes() {
  static const std::map<std::string, uint8_t> codes = {
      {"pelco-p", kProtocolPelcoP}, {"pelco-d", kProtocolPelcoD}, {"ernitec", kProtocolErnitec}};
  return codes;
}

std::string ProtocolName(uint8_t code) {
  for (const auto& [name, value] : ProtocolCodes()) {
    if (value == code) return name;
  }
  return "unknown";
}
