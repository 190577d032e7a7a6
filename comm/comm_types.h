// Enumerations and sets of the serial component; each value fits one byte.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

enum TBaudRate : uint8_t {
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000
};
enum TParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits : uint8_t { sb10, sb15, sb20 };
enum TDataBits : uint8_t { da4, da5, da6, da7, da8 };
enum TFlowControl : uint8_t { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum TCommOption : uint8_t {
  coParityCheck,
  coDsrSensitivity,
  coIgnoreXOff,
  coErrorChar,
  coNullStrip
};
enum TCommEventType : uint8_t {
  evBreak,
  evCts,
  evDsr,
  evError,
  evRing,
  evRlsd,
  evRxChar,
  evRxFlag,
  evTxEmpty
};

// A set of enumeration members, one bit per member.
template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (const E m : members) Include(m);
  }
  constexpr bool Contains(E m) const { return (bits_ & Bit(m)) != 0; }
  constexpr void Include(E m) { bits_ = static_cast<uint16_t>(bits_ | Bit(m)); }
  constexpr void Exclude(E m) { bits_ = static_cast<uint16_t>(bits_ & ~Bit(m)); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const TSet& other) const { return bits_ == other.bits_; }
  constexpr bool operator!=(const TSet& other) const { return bits_ != other.bits_; }

 private:
  static constexpr uint16_t Bit(E m) {
    return static_cast<uint16_t>(1u << static_cast<unsigned>(m));
  }
  uint16_t bits_ = 0;
};

using TCommEventTypes = TSet<TCommEventType>;
using TCommOptions = TSet<TCommOption>;

// Bits per second of a TBaudRate.
int BaudRateBitsPerSecond(TBaudRate rate);
// The TBaudRate of a speed, or none when the component has no such rate.
std::optional<TBaudRate> BaudRateOfSpeed(int bitsPerSecond);
// The event bit of one event type (evBreak 0x0040 ... evTxEmpty 0x0004).
uint32_t CommEventBit(TCommEventType type);
// The sum of the bits of the members, taken in enumeration order.
uint32_t CommEventMask(const TCommEventTypes& events);
// All nine event types.
TCommEventTypes AllCommEvents();
