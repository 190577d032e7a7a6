// A settings panel held in memory, for tests and for the simulator's tests.
#pragma once

#include <map>
#include <string>

#include "link/camera_panel.h"

class MemoryPanel : public CameraPanel {
 public:
  int ItemIndex(PanelControl list) const override;
  void SetItemIndex(PanelControl list, int index) override;
  bool Visible(PanelControl control) const override;
  void SetVisible(PanelControl control, bool visible) override;
  int Position(PanelControl upDown) const override;
  void SetPosition(PanelControl upDown, int position) override;
  void SetGainControlsVisible(bool visible) override;
  bool GainControlsVisible() const override { return gainsVisible_; }
  std::string IdEditText() const override { return idText_; }
  void SetIdEditText(const std::string& text) override { idText_ = text; }

  // The text the number box of an up-down shows.
  std::string NumEditText(PanelControl upDown) const;

 private:
  std::map<PanelControl, int> index_;
  std::map<PanelControl, bool> visible_;
  std::map<PanelControl, int> position_;
  std::map<PanelControl, std::string> numEdit_;
  bool gainsVisible_ = false;
  std::string idText_;
};
