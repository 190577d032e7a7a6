#include "panel_snapshot.h"

#include <tuple>

namespace {

constexpr PanelControl kLists[] = {
    PanelControl::DNModeSel,      PanelControl::DNLevelSel,  PanelControl::DNFilSel,
    PanelControl::ShutterSel,     PanelControl::ShutterIris, PanelControl::GainSel,
    PanelControl::SyncSel,        PanelControl::SyncDC,      PanelControl::BlcSel,
    PanelControl::SharpnessSel,   PanelControl::WhiteBalSel, PanelControl::IDPosSel,
    PanelControl::GammaSel,       PanelControl::PredtmspSel, PanelControl::ColToWbComboBox,
    PanelControl::WbToColComboBox};

constexpr PanelControl kAlternating[] = {PanelControl::ShutterSel, PanelControl::ShutterIris,
                                         PanelControl::SyncSel, PanelControl::SyncDC};

}  // namespace

bool PanelSnapshot::operator==(const PanelSnapshot& o) const {
  return std::tie(lists, visible, red, blue, redBox, blueBox, gainsVisible, id, colToWb, wbToCol) ==
         std::tie(o.lists, o.visible, o.red, o.blue, o.redBox, o.blueBox, o.gainsVisible, o.id,
                  o.colToWb, o.wbToCol);
}

PanelSnapshot Snapshot(const MemoryPanel& panel, const CameraLinkState& state) {
  PanelSnapshot s;
  for (const PanelControl list : kLists) s.lists[list] = panel.ItemIndex(list);
  // A hidden alternative list's position is not part of what the panel shows.
  for (const PanelControl list : {PanelControl::ShutterIris, PanelControl::SyncDC}) {
    if (!panel.Visible(list)) s.lists.erase(list);
  }
  for (const PanelControl control : kAlternating) s.visible[control] = panel.Visible(control);
  s.red = panel.Position(PanelControl::RedUpDown);
  s.blue = panel.Position(PanelControl::BlueUpDown);
  s.redBox = panel.NumEditText(PanelControl::RedUpDown);
  s.blueBox = panel.NumEditText(PanelControl::BlueUpDown);
  s.gainsVisible = panel.GainControlsVisible();
  s.id = panel.IdEditText();
  s.colToWb = state.ColToWbCode;
  s.wbToCol = state.WbToColCode;
  return s;
}

std::ostream& operator<<(std::ostream& out, const PanelSnapshot& s) {
  out << "lists:";
  for (const auto& [control, index] : s.lists) out << ' ' << index;
  out << " visible:";
  for (const auto& [control, shown] : s.visible) out << ' ' << shown;
  return out << " R " << s.red << " '" << s.redBox << "' B " << s.blue << " '" << s.blueBox
             << "' gains " << s.gainsVisible << " id '" << s.id << "' delays " << s.colToWb << ' '
             << s.wbToCol;
}
