// The PTZ buttons of the main window and of zelta-cli: UpButton, DownButton,
// LeftButton, RightButton, SelectButton, OSDOnSpeed, ColSpeed and WBSpeed.
// They open and move through the camera's own on-screen menu with frames in the PTZ
// protocol checked in the Protocol menu. No PTZ frame expects an answer.
#pragma once

#include <cstdint>

#include "link/ptz_frames.h"

class QamProtocol;
class LinkWindow;

// The program's one PTZ frame buffer: each protocol builds its frames at its
// row's offset (Pelco P and Pelco D in bytes 0..7, ERNITEC in bytes 8..13).
// Zero at start, never cleared.
extern uint8_t PtzFrame[kPtzFrameSize];

enum class PtzButton : uint8_t { Up, Down, Left, Right, Select, OsdOn, Colour, WhiteBalance };

// The frames a button sends: its command, then at once a Stop frame when
// thenStop is set.
//   UpButton      Up, then Stop
//   LeftButton    Up, then Stop    (the Up frames; the camera's menu moves up)
//   DownButton    Down, then Stop
//   RightButton   Down, then Stop  (the Down frames)
//   SelectButton  Select only
//   OSDOnSpeed    OsdOn only       (set preset 95)
//   ColSpeed      Colour only      (go to preset 88)
//   WBSpeed       WhiteBalance only (go to preset 89)
struct PtzButtonFrames {
  PtzCommand command;
  bool thenStop;
};
PtzButtonFrames FramesOfButton(PtzButton button);

// One click of a PTZ button. Link busy: nothing. Otherwise the watchdog is
// re-armed with 500 ms, the protocol menu is asked in row order, and the frame(s) are built in
// PtzFrame and sent through the link; with no protocol checked nothing is sent.
void PtzButtonClick(QamProtocol& link, const LinkWindow& window, uint8_t cameraAddress,
                    PtzButton button);
void PtzButtonClick(QamProtocol& link, const LinkWindow& window, uint8_t cameraAddress,
                    PtzCommand command, bool thenStop);
