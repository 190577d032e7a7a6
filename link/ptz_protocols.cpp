#include "link/ptz_protocols.h"

#include <cstring>
#include <iterator>

#include "link/ptz_decoder.h"
#include "link/ptz_frames.h"

namespace {

// Pelco P data 1 / Pelco D command 1: iris open; data 2 / command 2: movement
// bits, or with bit 0 set an extended command (preset number in the last data byte).
constexpr uint8_t kPelcoPIrisOpen = 0x04;
constexpr uint8_t kPelcoDIrisOpen = 0x02;
constexpr uint8_t kPanRight = 0x02;
constexpr uint8_t kPanLeft = 0x04;
constexpr uint8_t kTiltUp = 0x08;
constexpr uint8_t kTiltDown = 0x10;
constexpr uint8_t kExtSetPreset = 0x03;
constexpr uint8_t kExtGotoPreset = 0x07;
constexpr uint8_t kPelcoPEnd = 0xAF;

void DecodePelco(uint8_t irisByte, uint8_t irisBit, uint8_t moveByte, uint8_t preset,
                 PtzDecoded& out) {
  if ((moveByte & 0x01) != 0) {
    if (moveByte == kExtSetPreset || moveByte == kExtGotoPreset) {
      out.action = moveByte == kExtSetPreset ? PtzAction::SetPreset : PtzAction::GotoPreset;
      out.preset = preset;
    }
    return;
  }
  if ((irisByte & irisBit) != 0) {
    out.action = PtzAction::Select;
  } else if ((moveByte & kTiltUp) != 0) {
    out.action = PtzAction::Up;
  } else if ((moveByte & kTiltDown) != 0) {
    out.action = PtzAction::Down;
  } else if ((moveByte & kPanLeft) != 0) {
    out.action = PtzAction::Left;
  } else if ((moveByte & kPanRight) != 0) {
    out.action = PtzAction::Right;
  } else if (irisByte == 0 && moveByte == 0) {
    out.action = PtzAction::Stop;
  }
}

size_t PelcoPLength(const uint8_t*, size_t) {
  return 8;
}
size_t PelcoPChecksum(uint8_t* f) {
  // 0x0F is the start byte 0xA0 XOR the end byte 0xAF.
  f[7] = static_cast<uint8_t>(0x0F ^ f[1] ^ f[2] ^ f[3] ^ f[4] ^ f[5]);
  return 8;
}
const char* PelcoPForm(const uint8_t* f) {
  return f[6] == kPelcoPEnd ? nullptr : "no end byte";
}
void PelcoPDecode(const uint8_t* f, PtzDecoded& out) {
  DecodePelco(f[2], kPelcoPIrisOpen, f[3], f[5], out);
}

size_t PelcoDLength(const uint8_t*, size_t) {
  return 7;
}
size_t PelcoDChecksum(uint8_t* f) {
  // The sync byte is not summed.
  f[6] = static_cast<uint8_t>(f[6] + f[1] + f[2] + f[3] + f[4] + f[5]);
  return 7;
}
void PelcoDDecode(const uint8_t* f, PtzDecoded& out) {
  DecodePelco(f[2], kPelcoDIrisOpen, f[3], f[5], out);
}

// ERNITEC's form follows from bytes 2 and 3; taken as 5 until they have arrived.
size_t ErnitecLength(const uint8_t* f, size_t count) {
  return count < 4 ? 5 : ErnitecFrameLength(f[2], f[3]);
}
size_t ErnitecChecksum(uint8_t* f) {
  const size_t length = ErnitecFrameLength(f[2], f[3]);
  unsigned sum = f[length - 1];
  for (size_t i = 0; i + 1 < length; ++i) sum += f[i];
  f[length - 1] = static_cast<uint8_t>(sum);
  return length;
}
// Byte 2 0x02 calls a preset; the others are known by the templates the tool sends.
void ErnitecDecode(const uint8_t* f, PtzDecoded& out) {
  if (f[2] == 0x02) {
    out.action = PtzAction::GotoPreset;
    out.preset = f[3];
    return;
  }
  if (f[2] == 0x01) DecodeByTemplates(kProtocolErnitec, f, 6, out);
}

constexpr PtzProtocolRow kPtzProtocols[] = {
    {"PelcoP",
     "Pelco P",
     "PELCO P",
     "pelco-p",
     "P",
     0,
     true,
     8,
     {
         {0xA0, 0x00, 0x00, 0x08, 0x00, 0x3F, 0xAF, 0x00},  // Up
         {0xA0, 0x00, 0x00, 0x10, 0x00, 0x3F, 0xAF, 0x00},  // Down
         {0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0xAF, 0x00},  // Stop
         {0xA0, 0x00, 0x04, 0x00, 0x00, 0x00, 0xAF, 0x00},  // Select
         {0xA0, 0x00, 0x00, 0x03, 0x00, 0x5F, 0xAF, 0x00},  // OSD on
         {0xA0, 0x00, 0x00, 0x07, 0x00, 0x58, 0xAF, 0x00},  // Colour
         {0xA0, 0x00, 0x00, 0x07, 0x00, 0x59, 0xAF, 0x00},  // White balance
     },
     PelcoPLength,
     PelcoPChecksum,
     PelcoPForm,
     PelcoPDecode},
    {"PelcoD",
     "Pelco D",
     "PELCO D",
     "pelco-d",
     "D",
     0,
     false,
     7,
     {
         {0xFF, 0x00, 0x00, 0x08, 0x00, 0x3F, 0x00},
         {0xFF, 0x00, 0x00, 0x10, 0x00, 0x3F, 0x00},
         {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {0xFF, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00},
         {0xFF, 0x00, 0x00, 0x03, 0x00, 0x5F, 0x00},
         {0xFF, 0x00, 0x00, 0x07, 0x00, 0x58, 0x00},
         {0xFF, 0x00, 0x00, 0x07, 0x00, 0x59, 0x00},
     },
     PelcoDLength,
     PelcoDChecksum,
     nullptr,
     PelcoDDecode},
    // Built after the Pelco area, so that each keeps its last frame. The
    // 5-byte forms are stored with a trailing zero.
    {"ERNITEC",
     "ERNITEC",
     "ERNITEC",
     "ernitec",
     "E",
     8,
     true,
     6,
     {
         {0x02, 0x00, 0x01, 0x04, 0x00, 0x00},
         {0x02, 0x00, 0x01, 0x08, 0x00, 0x00},
         {0x02, 0x00, 0x01, 0x00, 0x00, 0x00},
         {0x02, 0x00, 0x01, 0x00, 0x01, 0x00},
         {0x02, 0x00, 0x02, 0x5F, 0x00, 0x00},
         {0x02, 0x00, 0x02, 0x58, 0x00, 0x00},
         {0x02, 0x00, 0x02, 0x59, 0x00, 0x00},
     },
     ErnitecLength,
     ErnitecChecksum,
     nullptr,
     ErnitecDecode},
};

}  // namespace

size_t ErnitecFrameLength(uint8_t byte2, uint8_t byte3) {
  const bool sixBytes = byte2 == 0x01 || byte2 >= 0x0D || (byte2 == 0x0C && byte3 <= 0x80);
  return sixBytes ? 6 : 5;
}

size_t PtzProtocolCount() {
  return std::size(kPtzProtocols);
}

bool IsPtzProtocol(int code) {
  return code >= 0 && static_cast<size_t>(code) < std::size(kPtzProtocols);
}

const PtzProtocolRow& PtzProtocolOf(PtzProtocol protocol) {
  return IsPtzProtocol(protocol) ? kPtzProtocols[protocol] : kPtzProtocols[0];
}

std::string PtzCommandNameList() {
  std::string list;
  for (size_t code = 0; code < std::size(kPtzProtocols); ++code) {
    if (code > 0) list += code + 1 == std::size(kPtzProtocols) ? " or " : ", ";
    list += kPtzProtocols[code].commandName;
  }
  return list;
}
