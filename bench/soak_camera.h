// What the soak believes the camera holds: a value for each of the fifteen
// items of Read and Write Camera, drawn at random within the panel's lists,
// put on the panel before a write and compared with the panel after a read.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "link/camera_link_state.h"
#include "link/camera_panel.h"

struct CameraValues {
  std::map<uint8_t, uint8_t> items;  // list positions and gains by item code
  std::string id;                    // the 16 ID characters

  static CameraValues Random(std::mt19937& random);
  // The simulator options that start the camera with these values.
  std::vector<std::string> SimOptions() const;
  // Puts the values on the panel, as a user would before Write Camera.
  void ToPanel(CameraPanel& panel) const;
  // What the panel and the link state show (after Read Camera).
  static CameraValues FromPanel(const CameraPanel& panel, const CameraLinkState& state);
  // Values that differ (each ID character counts on its own).
  int Differences(const CameraValues& other) const;
};
