#include "link/camera_items.h"

#include <array>
#include <map>

namespace {

const char* const kShutterHint = "Exposure time settng in AES.";
const char* const kSyncHint = "Function only works on AC(power of camera) models.";

}  // namespace

const std::vector<CameraItem>& CameraItems() {
  static const std::vector<CameraItem> items = {
      {kItemDNMode, "D/N MODE", "D/N MODE", ItemKind::List, PanelControl::DNModeSel, 0,
       "Set up a day/night function automataically,manually or B.C.G.", 56, nullptr, 0, 0, nullptr},
      {kItemDNLevel, "D/N LEVEL", "D/N LEVEL", ItemKind::List, PanelControl::DNLevelSel, 1,
       "Set up a switchover point from B/W mode to COLOR mode.", 57, nullptr, 1, 1, nullptr},
      {kItemDNFil, "D/N FIL", "D/N FIL", ItemKind::List, PanelControl::DNFilSel, 1,
       "Set up a filter of CCD output in B/W.", 58, nullptr, 2, 2, nullptr},
      {kItemShutter, "SHUTTER", "SHUTTER", ItemKind::List, PanelControl::ShutterSel, 0,
       kShutterHint, 59, nullptr, 3, 3, nullptr},
      {kItemGain, "GAIN", "GAIN", ItemKind::List, PanelControl::GainSel, 0, "GAIN=AGC gain setting",
       60, nullptr, 4, 4, nullptr},
      {kItemSync, "SYNC", "SYNC", ItemKind::List, PanelControl::SyncSel, 0, kSyncHint, 61, nullptr,
       5, 5, nullptr},
      {kItemBlc, "BLC", "BLC", ItemKind::List, PanelControl::BlcSel, 0,
       "Set Backlight compensation window was located somewhere on screen.", 63, nullptr, 6, 7,
       nullptr},
      {kItemAperture, "APERTURE", "APERTURE", ItemKind::List, PanelControl::SharpnessSel, 2,
       "Set Sarpness state.", 65, nullptr, 7, 9, nullptr},
      {kItemWhiteBal, "WHITE BAL", "WHITE BAL", ItemKind::List, PanelControl::WhiteBalSel, 0,
       "Set Color temperature range.", 64, nullptr, 8, 8, nullptr},
      {kItemId, "ID.", "ID.", ItemKind::IdText, PanelControl::IdEdit, 0,
       "Keyin rang:  '0~9  'A~Z  '<'  '>'  '-'  '.'  ','  ';'  '*'  '/'  'SPACE'.", 67, nullptr, 9,
       11, nullptr},
      {kItemIdPos, "ID. POS", "ID. POS", ItemKind::List, PanelControl::IDPosSel, 0,
       "Show the Cmaera ID in monitor screen.", 68, nullptr, 10, 12, nullptr},
      {kItemGamma, "GAMMA", "GAMMA", ItemKind::List, PanelControl::GammaSel, 1, "", 62, nullptr, 15,
       6, nullptr},
      {kItemPredtmsp, "PREDTMSP", "PREDTMSP", ItemKind::List, PanelControl::PredtmspSel, 0, "", 66,
       nullptr, 16, 10, nullptr},
      {kItemColToWb, "", "", ItemKind::Delay, PanelControl::ColToWbComboBox, 1, "", 0, "ColToWb",
       13, 0, "COL>BW DELAY"},
      {kItemWbToCol, "", "", ItemKind::Delay, PanelControl::WbToColComboBox, 1, "", 0, "WbToCol",
       14, 1, "BW>COL DELAY"},
      {kItemRedGain, "R:", "Red", ItemKind::Gain, PanelControl::RedUpDown, 15,
       "Adjust R Gain (Red) until the desired white balance is reached.", 68, "RED", 11, 13,
       nullptr},
      {kItemBlueGain, "B:", "Blue", ItemKind::Gain, PanelControl::BlueUpDown, 15,
       "Adjust b Gain (Blue) until the desired white balance is reached.", 68, "Blue", 12, 14,
       nullptr},
  };
  return items;
}

const char* const kImageDelayStep = "IMAGE DELAY";

const char* CameraItemName(const CameraItem& item) {
  return item.name != nullptr ? item.name : item.statusWord;
}

const char* TransferStepName(const CameraItem& item) {
  return item.kind == ItemKind::Delay ? kImageDelayStep : item.statusWord;
}

const CameraItem* FindCameraItem(uint8_t code) {
  for (const CameraItem& item : CameraItems()) {
    if (item.code == code) return &item;
  }
  return nullptr;
}

const CameraItem* ItemOfControl(PanelControl control) {
  if (control == PanelControl::ShutterIris) return FindCameraItem(kItemShutter);
  if (control == PanelControl::SyncDC) return FindCameraItem(kItemSync);
  for (const CameraItem& item : CameraItems()) {
    if (item.control == control) return &item;
  }
  return nullptr;
}

const std::vector<std::string>& ListEntries(PanelControl control) {
  static const std::vector<std::string> shutter = {"AUTO", "1/50", "1/120", "1/250", "1/500",
                                                   "1/1K", "1/2K", "1/4K",  "1/10K"};
  static const std::vector<std::string> delay = {"05 Second", "10 Second", "15 Second",
                                                 "20 Second"};
  static const std::map<PanelControl, std::vector<std::string>> lists = {
      {PanelControl::DNModeSel, {"AUTO", "MANUAL", "B.C.G"}},
      {PanelControl::DNLevelSel, {"LOW", "HIGH"}},
      {PanelControl::DNFilSel, {"OFF", "ON"}},
      {PanelControl::ShutterSel, shutter},
      {PanelControl::ShutterIris,
       [] {
         auto entries = shutter;
         entries.emplace_back("IRIS");
         return entries;
       }()},
      {PanelControl::GainSel, {"STD", "WIDE"}},
      {PanelControl::SyncSel, {"LL", "INT"}},
      {PanelControl::SyncDC, {"LL", "INT", "---"}},
      {PanelControl::BlcSel, {"OFF", "BLC1", "BLC2", "BLC3 ", "BLC4 "}},
      {PanelControl::SharpnessSel, {"LOW", "MID", "HIGH"}},
      {PanelControl::WhiteBalSel, {"ATW1", "ATW2 ", "AWC", "MANUAL"}},
      {PanelControl::IDPosSel, {"OFF", "TOP", "BOTTOM"}},
      {PanelControl::GammaSel, {"1", "0.45"}},
      {PanelControl::PredtmspSel,
       {"OFF", "1/50", "1/120", "1/250", "1/500", "1/1K", "1/2K", "1/4K", "1/10K"}},
      {PanelControl::ColToWbComboBox, delay},
      {PanelControl::WbToColComboBox, delay},
  };
  static const std::vector<std::string> none;
  const auto found = lists.find(control);
  return found == lists.end() ? none : found->second;
}

namespace {

// The items of one transfer, by their step.
template <size_t N>
std::array<uint8_t, N> TransferOrderOf(bool delayItems) {
  std::array<uint8_t, N> order{};
  for (const CameraItem& item : CameraItems()) {
    if ((item.kind == ItemKind::Delay) == delayItems) order.at(item.transferStep) = item.code;
  }
  return order;
}

}  // namespace

const std::array<uint8_t, kPanelItemCount> kTransferOrder = TransferOrderOf<kPanelItemCount>(false);
const std::array<uint8_t, kDelayItemCount> kDelayTransferOrder =
    TransferOrderOf<kDelayItemCount>(true);

int PendingIndex(uint8_t item) {
  int index = 0;
  for (const CameraItem& each : CameraItems()) {
    if (each.kind == ItemKind::Delay) continue;
    if (each.code == item) return index;
    ++index;
  }
  return -1;
}

std::string ProtocolText(uint8_t code) {
  if (!IsPtzProtocol(code)) return {};
  return std::string("Protocol Type : ") + PtzProtocolOf(PtzProtocolAt(code)).displayName;
}

int DelayPositionOfCode(uint8_t code) {
  return code == kDelayCodeSpecial ? kDelayPositionSpecial : code;
}

uint8_t DelayCodeOfPosition(int position) {
  return position == kDelayPositionSpecial ? kDelayCodeSpecial : static_cast<uint8_t>(position);
}

bool IsIdChar(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  for (const char sign : {' ', '<', '>', '-', '.', ',', ';', '*', '/', ':'}) {
    if (c == sign) return true;
  }
  return false;
}
