// The controls that hold a camera value and how many items there are: what
// the link's state record and the panel interface need of the item table,
// without the table itself.
#pragma once

#include <cstddef>
#include <cstdint>

// Every control of the settings panel and the image delay dialog that holds a
// camera value.
enum class PanelControl : uint8_t {
  DNModeSel,
  DNLevelSel,
  DNFilSel,
  ShutterSel,
  ShutterIris,
  GainSel,
  SyncSel,
  SyncDC,
  BlcSel,
  SharpnessSel,
  WhiteBalSel,
  IDPosSel,
  GammaSel,
  PredtmspSel,
  ColToWbComboBox,
  WbToColComboBox,
  RedUpDown,
  BlueUpDown,
  IdEdit,  // last: it ends the count; new controls go above it
};
constexpr size_t kPanelControlCount = static_cast<size_t>(PanelControl::IdEdit) + 1;

// Items Read and Write Camera move (they size the pending flags), and the
// image delay dialog's items. The item table test checks them against the table.
constexpr size_t kPanelItemCount = 15;
constexpr size_t kDelayItemCount = 2;
constexpr size_t kCameraItemCount = kPanelItemCount + kDelayItemCount;
