#include "link/ptz_buttons.h"

#include "link/link_services.h"
#include "link/qam_protocol.h"

uint8_t PtzFrame[kPtzFrameSize] = {};

PtzButtonFrames FramesOfButton(PtzButton button) {
  switch (button) {
    case PtzButton::Up:
    case PtzButton::Left:
      return {PtzCommand::Up, true};
    case PtzButton::Down:
    case PtzButton::Right:
      return {PtzCommand::Down, true};
    case PtzButton::Select:
      return {PtzCommand::Select, false};
    case PtzButton::OsdOn:
      return {PtzCommand::OsdOn, false};
    case PtzButton::Colour:
      return {PtzCommand::Colour, false};
    case PtzButton::WhiteBalance:
      return {PtzCommand::WhiteBalance, false};
  }
  return {PtzCommand::Stop, false};
}

namespace {

// The checked protocol, asked in the fixed order; false when none is checked.
bool CheckedProtocol(const LinkWindow& window, PtzProtocol& protocol) {
  for (size_t code = 0; code < PtzProtocolCount(); ++code) {
    if (window.ProtocolChecked(static_cast<uint8_t>(code))) {
      protocol = PtzProtocolAt(code);
      return true;
    }
  }
  return false;
}

void SendPtz(QamProtocol& link, PtzProtocol protocol, PtzCommand command, uint8_t cameraAddress) {
  const PtzFrameRef frame = BuildPtzFrame(PtzFrame, protocol, command, cameraAddress);
  link.SendFrame(frame.data, frame.length);
}

}  // namespace

void PtzButtonClick(QamProtocol& link, const LinkWindow& window, uint8_t cameraAddress,
                    PtzCommand command, bool thenStop) {
  if (link.LinkBusy()) return;
  link.RestartWatchdog();
  PtzProtocol protocol = kProtocolPelcoP;
  if (!CheckedProtocol(window, protocol)) return;
  SendPtz(link, protocol, command, cameraAddress);
  // The Stop frame follows at once: no pause, no wait for the transmitter.
  if (thenStop) SendPtz(link, protocol, PtzCommand::Stop, cameraAddress);
}

void PtzButtonClick(QamProtocol& link, const LinkWindow& window, uint8_t cameraAddress,
                    PtzButton button) {
  const PtzButtonFrames frames = FramesOfButton(button);
  PtzButtonClick(link, window, cameraAddress, frames.command, frames.thenStop);
}
