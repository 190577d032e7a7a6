#include "comm/comm_types.h"

int BaudRateBitsPerSecond(TBaudRate rate) {
  static constexpr int kBits[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                  19200, 38400, 56000, 57600, 115200, 128000, 256000};
  return kBits[rate <= br256000 ? rate : br9600];
}

std::optional<TBaudRate> BaudRateOfSpeed(int bitsPerSecond) {
  for (int r = br110; r <= br256000; ++r) {
    const auto rate = static_cast<TBaudRate>(r);
    if (BaudRateBitsPerSecond(rate) == bitsPerSecond) return rate;
  }
  return std::nullopt;
}

uint32_t CommEventBit(TCommEventType type) {
  static constexpr uint32_t kBits[] = {0x0040, 0x0008, 0x0010, 0x0080, 0x0100,
                                       0x0020, 0x0001, 0x0002, 0x0004};
  return type <= evTxEmpty ? kBits[type] : 0;
}

uint32_t CommEventMask(const TCommEventTypes& events) {
  uint32_t mask = 0;
  for (int t = evBreak; t <= evTxEmpty; ++t) {
    const auto type = static_cast<TCommEventType>(t);
    if (events.Contains(type)) mask += CommEventBit(type);
  }
  return mask;
}

TCommEventTypes AllCommEvents() {
  return {evBreak, evCts, evDsr, evError, evRing, evRlsd, evRxChar, evRxFlag, evTxEmpty};
}
