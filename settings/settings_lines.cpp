#include "settings/settings_lines.h"

#include "link/camera_items.h"

const char* const kSettingsHeader = "K5 CASE FUNCTION";
const char* const kSettingsLineEnd = "\r\n";

namespace {

const CameraItem& Item(uint8_t code) {
  return *FindCameraItem(code);
}

// A list line holds a list position; SHUTTER may also hold 9 ("IRIS"), the
// last entry of the alternative list.
SettingsLine ListLine(uint8_t code) {
  const CameraItem& item = Item(code);
  const PanelControl widest = code == kItemShutter ? PanelControl::ShutterIris : item.control;
  return {code, item.label, static_cast<int>(ListEntries(widest).size())};
}

SettingsLine IdLine() {
  return {kItemId, Item(kItemId).label, 0};
}

SettingsLine GainLine(uint8_t code, const char* key) {
  return {code, key, kGainMax + 1};
}

SettingsLine DelayLine(uint8_t code, const char* key) {
  return {code, key, static_cast<int>(ListEntries(Item(code).control).size())};
}

}  // namespace

const std::array<SettingsLine, kSettingsValueLines>& SettingsLines() {
  static const std::array<SettingsLine, kSettingsValueLines> lines = {
      ListLine(kItemDNMode),
      ListLine(kItemDNLevel),
      ListLine(kItemDNFil),
      ListLine(kItemShutter),
      ListLine(kItemGain),
      ListLine(kItemSync),
      ListLine(kItemBlc),
      ListLine(kItemAperture),
      ListLine(kItemWhiteBal),
      IdLine(),
      ListLine(kItemIdPos),
      GainLine(kItemRedGain, "RED"),
      GainLine(kItemBlueGain, "Blue"),
      DelayLine(kItemColToWb, "ColToWb"),
      DelayLine(kItemWbToCol, "WbToCol"),
      ListLine(kItemGamma),
      ListLine(kItemPredtmsp),
  };
  return lines;
}
