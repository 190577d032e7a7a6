// What the window lends the installer tools: its port and the current camera.
#include "link/address_list.h"
#include "link/line_speeds.h"
#include "link/qam_protocol.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/line_tap.h"

TappedLinkPort& TForm1::LinePort() {
  return *linePort_;
}

bool TForm1::UseCamera(uint8_t address, uint8_t speedCode) {
  if (qam_->LinkBusy() || address < kFirstCameraAddress || address > kLastCameraAddress ||
      speedCode >= kLineSpeedCount) {
    return false;
  }
  ShowAddress(address);
  UpdateCameraAddress();
  ChooseBaud(speedCode);
  return true;
}
