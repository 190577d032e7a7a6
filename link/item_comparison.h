// Item by item: the settings a panel (or a settings file put into one) wants
// beside what a camera holds, read into another panel. Write to Several
// Cameras' read-back, Restore Line, Compare with Camera and `zelta-cli diff`
// all decide "differs" here, so they always agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/camera_panel.h"

struct ItemComparison {
  uint8_t item = 0;    // item code, in transfer order
  std::string name;    // as a row names it: "SHUTTER", "ID."
  std::string wanted;  // the value as a settings file holds it: "3"; the ID text as typed
  std::string camera;  // likewise; "IRIS" or "---" for a state the camera holds of its own
  bool differs = false;
  // SHUTTER on "IRIS" (an AI lens) or SYNC on "---" (fixed by the power
  // supply): shown as the panel shows it after a read, a note, never a difference.
  bool fixedState = false;
};

// Every panel item of the transfer, in transfer order. Lists and gains are
// compared by the value that goes on the line (the plain list of SHUTTER and
// SYNC), the ID text as the camera holds it (sixteen characters, blank-padded).
std::vector<ItemComparison> CompareItems(const CameraPanel& wanted, const CameraPanel& camera);
