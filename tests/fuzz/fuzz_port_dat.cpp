// Feeds the "Port.dat" reader arbitrary files: it never fails, gives only
// plain non-negative codes, and reads back exactly what it writes.
// needs: zelta_settings

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/port_dat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PortDatCodes codes = ReadPortDat(std::string(reinterpret_cast<const char*>(data), size));
  for (const auto& code : {codes.port, codes.baud, codes.protocol}) {
    if (code && (*code < 0 || *code > 999999999)) std::abort();
  }
  if (codes.port && codes.baud && codes.protocol) {
    const PortDatCodes again = ReadPortDat(PortDatText(*codes.port, *codes.baud, *codes.protocol));
    if (again.port != codes.port || again.baud != codes.baud || again.protocol != codes.protocol) {
      std::abort();
    }
  }
  return 0;
}
