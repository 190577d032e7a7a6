#include "settings/settings_writer.h"

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "settings/settings_lines.h"

namespace {

// SHUTTER and SYNC come from the plain lists only, so "IRIS" and "---" are
// saved as the plain lists' 0.
std::string LineValue(const CameraPanel& panel, const CameraLinkState& state,
                      const SettingsLine& line) {
  const CameraItem& item = *FindCameraItem(line.item);
  switch (item.kind) {
    case ItemKind::List:
      return std::to_string(panel.ItemIndex(item.control));
    case ItemKind::IdText:
      return SavedIdText(panel.IdEditText());
    case ItemKind::Gain:
      return std::to_string(panel.Position(item.control));
    case ItemKind::Delay:
      return std::to_string(line.item == kItemColToWb ? state.ColToWbCode : state.WbToColCode);
  }
  return {};
}

}  // namespace

std::string SettingsFileText(const CameraPanel& panel, const CameraLinkState& state) {
  std::string text = std::string(kSettingsHeader) + kSettingsLineEnd;
  for (const SettingsLine& line : SettingsLines()) {
    text += line.key;
    text += '&';
    text += LineValue(panel, state, line);
    text += kSettingsLineEnd;
  }
  return text;
}
