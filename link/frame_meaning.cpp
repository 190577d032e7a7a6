#include "link/frame_meaning.h"

#include <cstdio>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "link/ptz_decoder.h"

namespace {

std::string Hex2(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string CharText(uint8_t c) {
  if (c >= 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
  return Hex2(c);
}

std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string GarbageText(size_t count) {
  return "garbage " + std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string ProtocolName(uint8_t code) {
  return IsPtzProtocol(code) ? PtzProtocolName(PtzProtocolAt(code)) : Hex2(code);
}

// "SHUTTER", "ID. pos 5 = 'A'", "WHITE BAL = 3 (MANUAL)": the item of a read
// or write and, when the frame carries one, its value.
std::string ItemAndValue(const uint8_t* f, bool withValue) {
  const uint8_t item = f[5];
  std::string text = ItemName(item);
  if (item == kItemId) {
    text += " pos " + std::to_string(f[6]);
    if (withValue) text += " = " + CharText(f[7]);
  } else if (withValue) {
    text += " = " + DescribeValue(item, f[6]);
  }
  return text;
}

std::string DescribeSettingsFrame(const uint8_t* f, size_t count) {
  if (count != kFrameSize) return "dropped: partial frame";
  if (FrameChecksum(f) != f[9]) return "dropped: bad checksum";
  if (f[1] != 0x01 || f[2] != 0x01) return "dropped: bytes 1 and 2 are not 01 01";
  const std::string address = "addr " + std::to_string(f[3]);
  switch (f[4]) {
    case kCmdPoll:
      return "poll " + address + " proto " + ProtocolName(f[7]);
    case kCmdRead:
      return "read " + ItemAndValue(f, false) + " " + address;
    case kCmdWrite:
      return "write " + ItemAndValue(f, true) + " " + address;
    case kCmdGetProtocolState:
      return "get protocol state " + address;
    case kCmdProtocolSpeed:
      return "protocol speed " + address;
    case kReplyPoll:
      return "poll reply " + address;
    case kReplyRead:
      return "read reply " + ItemAndValue(f, true) + " " + address;
    case kReplyWrite:
      return "write reply " + ItemAndValue(f, true) + " " + address;
    case kReplyProtocolState:
      return "protocol state reply " + address + ", " + std::to_string(BaudOfCode(f[5])) +
             " baud, " + ProtocolName(f[6]);
    default:
      return (f[4] < 0x80 ? "unknown command " : "unknown reply ") + Hex2(f[4]) + " " + address;
  }
}

std::string DescribePtzFrame(PtzProtocol protocol, const PtzDecoded& decoded) {
  const std::string name = PtzProtocolName(protocol);
  if (!decoded.accepted) return name + " dropped: " + decoded.reason;
  return name + " " + PtzActionName(decoded) + " addr " + std::to_string(decoded.address);
}

}  // namespace

std::string ItemName(uint8_t item) {
  const CameraItem* entry = FindCameraItem(item);
  if (entry != nullptr) return CameraItemName(*entry);
  return "item " + Hex2(item);
}

std::string ValueText(uint8_t item, uint8_t value) {
  const CameraItem* entry = FindCameraItem(item);
  if (entry != nullptr && (entry->kind == ItemKind::List || entry->kind == ItemKind::Delay)) {
    PanelControl control = entry->control;
    // The camera-only values live in the second list of SHUTTER and SYNC.
    if (item == kItemShutter) control = PanelControl::ShutterIris;
    if (item == kItemSync) control = PanelControl::SyncDC;
    const auto& entries = ListEntries(control);
    if (value < entries.size()) return Trimmed(entries[value]);
    if (item == kItemWhiteBal) return "MANUAL(" + std::to_string(value) + ")";
  }
  return std::to_string(value);
}

std::string DescribeValue(uint8_t item, uint8_t value) {
  const std::string text = ValueText(item, value);
  const std::string number = std::to_string(value);
  if (item == kItemColToWb || item == kItemWbToCol) {
    return (value == kDelayCodeSpecial ? Hex2(value) : number) + " (" + text + ")";
  }
  return text == number ? number : number + " (" + text + ")";
}

std::string DescribeFrame(const uint8_t* bytes, size_t count) {
  if (count == 0) return {};
  if (bytes[0] == kFrameStart) return DescribeSettingsFrame(bytes, count);
  PtzProtocol protocol = kProtocolPelcoP;
  PtzDecoded decoded;
  if (DecodeAnyPtzFrame(bytes, count, protocol, decoded)) {
    return DescribePtzFrame(protocol, decoded);
  }
  return GarbageText(count);
}

std::string DescribePiece(const LinePiece& piece) {
  switch (piece.kind) {
    case LinePieceKind::Frame:
    case LinePieceKind::Ptz:
      return DescribeFrame(piece.bytes.data(), piece.bytes.size());
    case LinePieceKind::Garbage:
      break;
    case LinePieceKind::Partial:
      return "dropped: partial frame";
  }
  return GarbageText(piece.bytes.size());
}
