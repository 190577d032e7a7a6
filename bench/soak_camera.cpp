#include "bench/soak_camera.h"

#include <cstdio>

#include "link/camera_items.h"

namespace {

// The Read and Write Camera items other than the ID text.
std::vector<const CameraItem*> ValueItems() {
  std::vector<const CameraItem*> items;
  for (const uint8_t code : kTransferOrder) {
    const CameraItem* item = FindCameraItem(code);
    if (item != nullptr && item->kind != ItemKind::IdText) items.push_back(item);
  }
  return items;
}

int Pick(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

}  // namespace

CameraValues CameraValues::Random(std::mt19937& random) {
  CameraValues values;
  for (const CameraItem* item : ValueItems()) {
    const int top = item->kind == ItemKind::Gain
                        ? kGainMax
                        : static_cast<int>(ListEntries(item->control).size()) - 1;
    values.items[item->code] = static_cast<uint8_t>(Pick(random, 0, top));
  }
  std::string idChars;
  for (int c = 0x20; c < 0x7F; ++c) {
    if (IsIdChar(static_cast<char>(c))) idChars += static_cast<char>(c);
  }
  for (size_t i = 0; i < kIdLength; ++i) {
    values.id +=
        idChars[static_cast<size_t>(Pick(random, 0, static_cast<int>(idChars.size()) - 1))];
  }
  return values;
}

std::vector<std::string> CameraValues::SimOptions() const {
  std::vector<std::string> options;
  for (const auto& [code, value] : items) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%02X=%u", code, value);
    options.push_back("--set");
    options.push_back(text);
  }
  options.push_back("--id");
  options.push_back(id);
  return options;
}

void CameraValues::ToPanel(CameraPanel& panel) const {
  for (const CameraItem* item : ValueItems()) {
    const uint8_t value = items.at(item->code);
    if (item->kind == ItemKind::Gain) {
      panel.SetPosition(item->control, value);
    } else {
      panel.SetItemIndex(item->control, value);
    }
  }
  ShowWhiteBalance(panel);
  panel.SetIdEditText(id);
}

CameraValues CameraValues::FromPanel(const CameraPanel& panel, const CameraLinkState& state) {
  CameraValues values;
  for (const CameraItem* item : ValueItems()) {
    values.items[item->code] = PanelValue(panel, state, item->code, nullptr);
  }
  values.id = IdTextString(state);
  return values;
}

int CameraValues::Differences(const CameraValues& other) const {
  int count = 0;
  for (const auto& [code, value] : items) {
    const auto found = other.items.find(code);
    if (found == other.items.end() || found->second != value) ++count;
  }
  for (size_t i = 0; i < kIdLength; ++i) {
    if (i >= id.size() || i >= other.id.size() || id[i] != other.id[i]) ++count;
  }
  return count;
}
