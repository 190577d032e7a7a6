#include "link/memory_panel.h"

#include <algorithm>

#include "link/camera_items.h"

int MemoryPanel::ItemIndex(PanelControl list) const {
  const auto found = index_.find(list);
  return found == index_.end() ? -1 : found->second;
}

void MemoryPanel::SetItemIndex(PanelControl list, int index) {
  const int count = static_cast<int>(ListEntries(list).size());
  index_[list] = index >= 0 && index < count ? index : -1;
}

bool MemoryPanel::Visible(PanelControl control) const {
  const auto found = visible_.find(control);
  return found == visible_.end() || found->second;
}

void MemoryPanel::SetVisible(PanelControl control, bool visible) {
  visible_[control] = visible;
}

int MemoryPanel::Position(PanelControl upDown) const {
  const auto found = position_.find(upDown);
  return found == position_.end() ? 0 : found->second;
}

void MemoryPanel::SetPosition(PanelControl upDown, int position) {
  position_[upDown] = std::clamp(position, kGainMin, kGainMax);
  numEdit_[upDown] = std::to_string(position_[upDown]);
}

void MemoryPanel::SetGainControlsVisible(bool visible) {
  gainsVisible_ = visible;
  if (visible) {
    for (PanelControl upDown : {PanelControl::RedUpDown, PanelControl::BlueUpDown}) {
      numEdit_[upDown] = std::to_string(Position(upDown));
    }
  }
}

std::string MemoryPanel::NumEditText(PanelControl upDown) const {
  const auto found = numEdit_.find(upDown);
  return found == numEdit_.end() ? std::string() : found->second;
}
