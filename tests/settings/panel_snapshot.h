// Everything the settings file can touch, captured for comparison.
#pragma once

#include <map>
#include <ostream>
#include <string>

#include "link/camera_link_state.h"
#include "link/memory_panel.h"

struct PanelSnapshot {
  std::map<PanelControl, int> lists;
  std::map<PanelControl, bool> visible;
  int red = 0;
  int blue = 0;
  std::string redBox;
  std::string blueBox;
  bool gainsVisible = false;
  std::string id;
  int colToWb = 0;
  int wbToCol = 0;

  bool operator==(const PanelSnapshot& other) const;
};

PanelSnapshot Snapshot(const MemoryPanel& panel, const CameraLinkState& state);
std::ostream& operator<<(std::ostream& out, const PanelSnapshot& snapshot);

// A panel and record as the program has them right after start-up.
struct StartedPanel {
  MemoryPanel panel;
  CameraLinkState state{};
  StartedPanel() { SetPanelDefaults(panel, state); }
};
