#include "link/camera_panel.h"

#include <cstring>

#include "link/camera_items.h"

namespace {

void ApplyAlternativeReport(CameraPanel& panel, PanelControl plain, PanelControl alternative,
                            uint8_t special, uint8_t value) {
  if (value == special) {
    panel.SetItemIndex(alternative, special);
    panel.SetVisible(alternative, true);
    panel.SetVisible(plain, false);
    panel.SetItemIndex(plain, 0);
  } else {
    panel.SetItemIndex(plain, value);
    panel.SetVisible(plain, true);
    panel.SetVisible(alternative, false);
  }
}

uint8_t ListValue(const CameraPanel& panel, PanelControl list) {
  const int index = panel.ItemIndex(list);
  return index < 0 ? 0xFF : static_cast<uint8_t>(index);
}

}  // namespace

void SetPanelDefaults(CameraPanel& panel, CameraLinkState& state) {
  for (const CameraItem& item : CameraItems()) {
    switch (item.kind) {
      case ItemKind::List:
        panel.SetItemIndex(item.control, item.defaultValue);
        break;
      case ItemKind::Gain:
        panel.SetPosition(item.control, item.defaultValue);
        break;
      case ItemKind::Delay:
        panel.SetItemIndex(item.control, item.defaultValue);
        break;
      case ItemKind::IdText:
        break;
    }
  }
  panel.SetVisible(PanelControl::ShutterSel, true);
  panel.SetVisible(PanelControl::ShutterIris, false);
  panel.SetVisible(PanelControl::SyncSel, true);
  panel.SetVisible(PanelControl::SyncDC, false);
  ShowWhiteBalance(panel);
  state.ColToWbCode = kDefaultDelayCode;
  state.WbToColCode = kDefaultDelayCode;
}

void CopyPanel(const CameraPanel& from, CameraPanel& to) {
  for (size_t c = 0; c < kPanelControlCount; ++c) {
    const auto control = static_cast<PanelControl>(c);
    if (!ListEntries(control).empty()) to.SetItemIndex(control, from.ItemIndex(control));
    to.SetVisible(control, from.Visible(control));
  }
  for (const PanelControl upDown : {PanelControl::RedUpDown, PanelControl::BlueUpDown})
    to.SetPosition(upDown, from.Position(upDown));
  to.SetGainControlsVisible(from.GainControlsVisible());
  to.SetIdEditText(from.IdEditText());
}

void ShowWhiteBalance(CameraPanel& panel) {
  panel.SetGainControlsVisible(panel.ItemIndex(PanelControl::WhiteBalSel) == kWhiteBalManual);
}

void ApplyShutterReport(CameraPanel& panel, uint8_t value) {
  ApplyAlternativeReport(panel, PanelControl::ShutterSel, PanelControl::ShutterIris,
                         kShutterIrisValue, value);
}

void ApplySyncReport(CameraPanel& panel, uint8_t value) {
  ApplyAlternativeReport(panel, PanelControl::SyncSel, PanelControl::SyncDC, kSyncDCValue, value);
}

uint8_t PanelValue(const CameraPanel& panel, const CameraLinkState& state, uint8_t item,
                   uint8_t* extra) {
  if (extra) *extra = 0;
  const CameraItem* info = FindCameraItem(item);
  if (!info) return 0;
  switch (info->kind) {
    case ItemKind::List:
      return ListValue(panel, info->control);
    case ItemKind::Gain:
      return static_cast<uint8_t>(panel.Position(info->control));
    case ItemKind::Delay:
      return item == kItemColToWb ? state.ColToWbCode : state.WbToColCode;
    case ItemKind::IdText: {
      const std::string text = panel.IdEditText();
      if (extra) {
        *extra = state.IdIndex < text.size() ? static_cast<uint8_t>(text[state.IdIndex]) : 0x20;
      }
      return state.IdIndex;
    }
  }
  return 0;
}

void ApplyReadReply(CameraPanel& panel, CameraLinkState& state, uint8_t item, uint8_t value,
                    uint8_t extra) {
  const CameraItem* info = FindCameraItem(item);
  if (!info) return;
  switch (info->kind) {
    case ItemKind::List:
      if (item == kItemShutter) {
        ApplyShutterReport(panel, value);
      } else if (item == kItemSync) {
        ApplySyncReport(panel, value);
      } else if (item == kItemWhiteBal) {
        panel.SetItemIndex(PanelControl::WhiteBalSel,
                           value < kWhiteBalManual ? value : kWhiteBalManual);
        ShowWhiteBalance(panel);
      } else {
        panel.SetItemIndex(info->control, value);
      }
      SetItemPending(state, item, false);
      break;
    case ItemKind::Gain:
      panel.SetPosition(info->control, value);
      SetItemPending(state, item, false);
      break;
    case ItemKind::Delay:
      panel.SetItemIndex(info->control, DelayPositionOfCode(value));
      (item == kItemColToWb ? state.ColToWbCode : state.WbToColCode) = value;
      SetItemPending(state, item, false);
      break;
    case ItemKind::IdText:
      // A position past the text has no place in the buffer: ignored whole.
      if (value >= kIdLength) return;
      state.IdText[value] = extra;
      panel.SetIdEditText(IdTextString(state));
      if (++state.IdIndex >= kIdLength) {
        state.IdIndex = 0;
        SetItemPending(state, item, false);
      }
      break;
  }
}

std::string IdTextString(const CameraLinkState& state) {
  const char* text = reinterpret_cast<const char*>(state.IdText);
  return std::string(text, strnlen(text, kIdLength));
}
