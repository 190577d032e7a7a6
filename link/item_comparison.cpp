#include "link/item_comparison.h"

#include "link/camera_items.h"
#include "link/multi_write.h"

namespace {

// The value a camera holds for a panel item once the panel is written: the
// plain list of SHUTTER and SYNC, since that is what goes on the line.
int WrittenValue(const CameraPanel& panel, const CameraItem& item) {
  return item.kind == ItemKind::Gain ? panel.Position(item.control) : panel.ItemIndex(item.control);
}

// The ID text as the camera holds it: sixteen characters, blank-padded.
std::string PaddedId(const CameraPanel& panel) {
  std::string text = panel.IdEditText().substr(0, kIdLength);
  text.resize(kIdLength, ' ');
  return text;
}

// A state the camera holds of its own accord, as the panel shows it; empty when none.
std::string FixedState(const CameraPanel& camera, uint8_t code) {
  if (code == kItemShutter && camera.Visible(PanelControl::ShutterIris)) return "IRIS";
  if (code == kItemSync && camera.Visible(PanelControl::SyncDC)) return "---";
  return {};
}

}  // namespace

std::vector<ItemComparison> CompareItems(const CameraPanel& wanted, const CameraPanel& camera) {
  std::vector<ItemComparison> rows;
  for (const uint8_t code : kTransferOrder) {
    const CameraItem& item = *FindCameraItem(code);
    ItemComparison row;
    row.item = code;
    row.name = MultiWriteItemName(code);
    if (code == kItemId) {
      row.wanted = wanted.IdEditText().substr(0, kIdLength);
      row.camera = camera.IdEditText().substr(0, kIdLength);
      row.differs = PaddedId(wanted) != PaddedId(camera);
    } else {
      const int want = WrittenValue(wanted, item);
      row.wanted = std::to_string(want);
      row.camera = FixedState(camera, code);
      row.fixedState = !row.camera.empty();
      if (!row.fixedState) {
        const int held = WrittenValue(camera, item);
        row.camera = std::to_string(held);
        row.differs = want != held;
      }
    }
    rows.push_back(row);
  }
  return rows;
}
