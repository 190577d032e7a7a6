// The camera's on-screen menu as PTZ frames move it: OSD on (preset 95) opens
// it, Up and Down move the cursor, Select enters or leaves an entry (inside an
// entry Up/Down change its value), Select on EXIT closes it. Colour and white
// balance preset calls are recorded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/ptz_decoder.h"
#include "sim/camera_model.h"

constexpr uint8_t kPresetOsdOn = 95;
constexpr uint8_t kPresetColour = 88;
constexpr uint8_t kPresetWhiteBalance = 89;

class OsdMenu {
 public:
  explicit OsdMenu(CameraModel& model) : model_(model) {}

  // Applies a decoded command; true when what the menu shows has changed.
  bool Apply(const PtzDecoded& command);

  bool IsOpen() const { return open_; }
  bool Editing() const { return editing_; }
  size_t Cursor() const { return cursor_; }
  // Item code of the entry under the cursor; 0 on EXIT.
  uint8_t CursorItem() const;
  // Last colour / white balance preset called (0 before any) and how many calls.
  uint8_t LastPreset() const { return lastPreset_; }
  int PresetCalls() const { return presetCalls_; }

  // The menu as a person would see it, one line an entry, each starting "MENU".
  std::vector<std::string> Render() const;

 private:
  // Each returns true when what the menu shows has changed.
  bool CallPreset(uint8_t preset);
  bool Arrow(PtzAction action);
  bool Select();
  void Step(int direction);

  CameraModel& model_;
  bool open_ = false;
  bool editing_ = false;
  size_t cursor_ = 0;
  uint8_t lastPreset_ = 0;
  int presetCalls_ = 0;
};

// The menu's entries: the camera's list items, then EXIT (code 0).
const std::vector<uint8_t>& OsdEntries();
