#include "cli/protocol_names.h"

#include "link/ptz_protocols.h"

const std::map<std::string, uint8_t>& ProtocolCodes() {
  static const std::map<std::string, uint8_t> codes = [] {
    std::map<std::string, uint8_t> byName;
    for (size_t code = 0; code < PtzProtocolCount(); ++code) {
      byName.emplace(PtzProtocolOf(PtzProtocolAt(code)).commandName, static_cast<uint8_t>(code));
    }
    return byName;
  }();
  return codes;
}

std::string ProtocolName(uint8_t code) {
  for (const auto& [name, value] : ProtocolCodes()) {
    if (value == code) return name;
  }
  return "unknown";
}
