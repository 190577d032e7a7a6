// The settings panel as the camera link sees it: list positions, visibility,
// gain positions and the ID text. The main window implements it with widgets;
// MemoryPanel implements it in memory for tests and the simulator's tests.
#pragma once

#include <cstdint>
#include <string>

#include "link/camera_link_state.h"
#include "link/panel_controls.h"

class CameraPanel {
 public:
  virtual ~CameraPanel() = default;

  // Selected position of a list control; -1 when nothing is selected.
  virtual int ItemIndex(PanelControl list) const = 0;
  // Selects a position; a position outside the list leaves no selection.
  virtual void SetItemIndex(PanelControl list, int index) = 0;

  virtual bool Visible(PanelControl control) const = 0;
  virtual void SetVisible(PanelControl control, bool visible) = 0;

  // Position of RedUpDown or BlueUpDown.
  virtual int Position(PanelControl upDown) const = 0;
  // Sets the position (kept within 0..63) and shows it in the number box.
  virtual void SetPosition(PanelControl upDown, int position) = 0;
  // Shows or hides the six gain controls (labels, number boxes, up-downs);
  // showing them refreshes both number boxes from the positions.
  virtual void SetGainControlsVisible(bool visible) = 0;
  virtual bool GainControlsVisible() const = 0;

  virtual std::string IdEditText() const = 0;
  virtual void SetIdEditText(const std::string& text) = 0;
};

// The start-up state: list defaults, plain lists shown, alternatives hidden,
// gains 15, gain controls hidden, both delay codes 1 (record and dialog lists).
void SetPanelDefaults(CameraPanel& panel, CameraLinkState& state);

// Copies every value of one panel into another: list positions, visibility,
// gain positions and the ID text.
void CopyPanel(const CameraPanel& from, CameraPanel& to);

// Shows the gain controls exactly when WhiteBalSel is at "MANUAL".
void ShowWhiteBalance(CameraPanel& panel);

// A camera report of SHUTTER or SYNC: the special value (9 "IRIS", 2 "---")
// shows the alternative list and puts the plain list at 0.
void ApplyShutterReport(CameraPanel& panel, uint8_t value);
void ApplySyncReport(CameraPanel& panel, uint8_t value);

// The value byte (and the extra byte) a write of the item carries.
uint8_t PanelValue(const CameraPanel& panel, const CameraLinkState& state, uint8_t item,
                   uint8_t* extra);

// Applies a read reply (0x81) of an item to the panel and the record,
// clearing the item's pending flag (for the ID text: after position 15).
void ApplyReadReply(CameraPanel& panel, CameraLinkState& state, uint8_t item, uint8_t value,
                    uint8_t extra);

// The text of IdText up to its first zero byte.
std::string IdTextString(const CameraLinkState& state);
