#include "sim/osd_menu.h"

#include <cstdio>

#include "link/camera_items.h"
#include "link/frame_meaning.h"

const std::vector<uint8_t>& OsdEntries() {
  static const std::vector<uint8_t> entries = [] {
    std::vector<uint8_t> codes;
    for (const uint8_t item : kTransferOrder) {
      if (WritableCount(item) > 0) codes.push_back(item);
    }
    codes.push_back(0);
    return codes;
  }();
  return entries;
}

uint8_t OsdMenu::CursorItem() const {
  return OsdEntries()[cursor_];
}

void OsdMenu::Step(int direction) {
  const uint8_t item = CursorItem();
  const auto count = static_cast<int>(WritableCount(item));
  int value = model_.Value(item);
  // A camera-only value (IRIS, ---) steps into the writable range.
  if (value >= count) value = direction > 0 ? -1 : count;
  value = (value + direction + count) % count;
  model_.SetFromMenu(item, static_cast<uint8_t>(value));
}

bool OsdMenu::Apply(const PtzDecoded& command) {
  if (!command.accepted) return false;
  switch (command.action) {
    case PtzAction::SetPreset:
    case PtzAction::GotoPreset:
      return CallPreset(command.preset);
    case PtzAction::Up:
    case PtzAction::Down:
    case PtzAction::Left:
    case PtzAction::Right:
      return Arrow(command.action);
    case PtzAction::Select:
      return Select();
    case PtzAction::Stop:
    case PtzAction::Other:
      return false;
  }
  return false;
}

// OSD on opens the menu at its top; a colour or white balance preset is
// recorded; any other preset leaves the menu alone.
bool OsdMenu::CallPreset(uint8_t preset) {
  if (preset == kPresetOsdOn) {
    open_ = true;
    editing_ = false;
    cursor_ = 0;
    return true;
  }
  if (preset == kPresetColour || preset == kPresetWhiteBalance) {
    lastPreset_ = preset;
    ++presetCalls_;
    return true;
  }
  return false;
}

// Inside an entry every arrow steps its value; outside, Up and Down move the
// cursor round the menu.
bool OsdMenu::Arrow(PtzAction action) {
  if (!open_) return false;
  const bool forward = action == PtzAction::Up || action == PtzAction::Right;
  if (editing_) {
    const uint8_t before = model_.Value(CursorItem());
    Step(forward ? 1 : -1);
    return model_.Value(CursorItem()) != before;
  }
  if (action == PtzAction::Left || action == PtzAction::Right) return false;
  const size_t count = OsdEntries().size();
  // Up moves towards the top of the menu.
  cursor_ = action == PtzAction::Up ? (cursor_ + count - 1) % count : (cursor_ + 1) % count;
  return true;
}

// Select on EXIT closes the menu; on an entry it enters or leaves it.
bool OsdMenu::Select() {
  if (!open_) return false;
  if (CursorItem() == 0) {
    open_ = false;
    editing_ = false;
  } else {
    editing_ = !editing_;
  }
  return true;
}

std::vector<std::string> OsdMenu::Render() const {
  std::vector<std::string> lines;
  if (lastPreset_ != 0) {
    lines.push_back("MENU preset " + std::to_string(lastPreset_) +
                    (lastPreset_ == kPresetColour ? " (Colour)" : " (White balance)") +
                    " called, " + std::to_string(presetCalls_) + " preset call(s)");
  }
  if (!open_) {
    lines.emplace_back("MENU closed");
    return lines;
  }
  lines.emplace_back(editing_ ? "MENU open, editing" : "MENU open");
  const auto& entries = OsdEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const char* mark = i != cursor_ ? "  " : (editing_ ? "*>" : " >");
    char line[64];
    if (entries[i] == 0) {
      std::snprintf(line, sizeof line, "MENU %s EXIT", mark);
    } else {
      std::snprintf(line, sizeof line, "MENU %s %-10s %s", mark, ItemName(entries[i]).c_str(),
                    ValueText(entries[i], model_.Value(entries[i])).c_str());
    }
    lines.emplace_back(line);
  }
  return lines;
}
