// The camera link's view of the settings panel: list positions, visibility,
// gains and the ID text, over the main window's widgets and the image delay
// dialog's two lists.
#pragma once

#include <string>

#include "link/camera_panel.h"

class QComboBox;
class QWidget;
class TForm1;

class ControlCameraPanel final : public CameraPanel {
 public:
  explicit ControlCameraPanel(TForm1& form) : form_(form) {}

  // The list behind a panel control; nullptr for the dialog's lists before
  // the dialog exists, and for controls that are not lists.
  QComboBox* ListOf(PanelControl list) const;

  int ItemIndex(PanelControl list) const override;
  void SetItemIndex(PanelControl list, int index) override;
  bool Visible(PanelControl control) const override;
  void SetVisible(PanelControl control, bool visible) override;
  int Position(PanelControl upDown) const override;
  void SetPosition(PanelControl upDown, int position) override;
  void SetGainControlsVisible(bool visible) override;
  bool GainControlsVisible() const override;
  std::string IdEditText() const override;
  void SetIdEditText(const std::string& text) override;

 private:
  QWidget* ControlOf(PanelControl control) const;

  TForm1& form_;
};
