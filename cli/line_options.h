// The options every command shares: which line, which camera, how to answer.
#pragma once

#include <cstdint>
#include <string>

#include "link/camera_items.h"
#include "link/camera_link_state.h"

struct LineOptions {
  std::string port = "Com1";  // Com1, Com2 or a device path
  int baud = 4800;
  int address = kDefaultCameraAddress;
  uint8_t protocol = kProtocolPelcoP;
  bool json = false;
  bool quiet = false;
};
