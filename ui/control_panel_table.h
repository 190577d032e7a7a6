// The settings panel's labels and lists, one row each: the window's member,
// its object name, the camera control it shows and where it stands. The
// captions and hints come from the camera item table, so the layout, the
// captions, the hints and the lookups all follow these rows.
#pragma once

#include <QString>

#include "link/camera_items.h"
#include "ui/control_form.h"

struct PanelLabelRow {
  QLabel* TForm1::*label;
  const char* name;
  PanelControl control;  // the caption is its item's label
  int x;
  int y;
};

struct PanelListRow {
  QComboBox* TForm1::*list;
  const char* name;
  PanelControl control;
  int x;
  int y;
};

// The caption of a control's label: its item's label.
inline QString PanelCaption(PanelControl control) {
  return QString::fromLatin1(ItemOfControl(control)->label);
}

inline const PanelLabelRow kPanelLabels[] = {
    {&TForm1::DNModeLabel, "DNModeLabel", PanelControl::DNModeSel, 16, 40},
    {&TForm1::DNLevelLabel, "DNLevelLabel", PanelControl::DNLevelSel, 16, 80},
    {&TForm1::DNFilLabel, "DNFilLabel", PanelControl::DNFilSel, 16, 120},
    {&TForm1::ShutterLabel, "ShutterLabel", PanelControl::ShutterSel, 16, 160},
    {&TForm1::GainLablel, "GainLablel", PanelControl::GainSel, 16, 200},
    {&TForm1::SyncLabel, "SyncLabel", PanelControl::SyncSel, 16, 240},
    {&TForm1::GammaLabel, "GammaLabel", PanelControl::GammaSel, 16, 280},
    {&TForm1::BlcLabel, "BlcLabel", PanelControl::BlcSel, 16, 320},
    {&TForm1::WhiteBalLabel, "WhiteBalLabel", PanelControl::WhiteBalSel, 256, 40},
    {&TForm1::SharpnessLabel, "SharpnessLabel", PanelControl::SharpnessSel, 248, 200},
    {&TForm1::PredtmspLabel, "PredtmspLabel", PanelControl::PredtmspSel, 248, 240},
    {&TForm1::IdLabel, "IdLabel", PanelControl::IdEdit, 248, 280},
    {&TForm1::IdPosLabel, "IdPosLabel", PanelControl::IDPosSel, 248, 320},
    {&TForm1::RedLabel, "RedLabel", PanelControl::RedUpDown, 280, 80},
    {&TForm1::BlueLabel, "BlueLabel", PanelControl::BlueUpDown, 384, 80},
};

// The lists of the main window; the image delay dialog holds the other two.
// The alternatives start beside their plain lists; start-up puts them on top.
inline const PanelListRow kPanelLists[] = {
    {&TForm1::DNModeSel, "DNModeSel", PanelControl::DNModeSel, 144, 40},
    {&TForm1::DNLevelSel, "DNLevelSel", PanelControl::DNLevelSel, 144, 80},
    {&TForm1::DNFilSel, "DNFilSel", PanelControl::DNFilSel, 144, 120},
    {&TForm1::ShutterSel, "ShutterSel", PanelControl::ShutterSel, 144, 160},
    {&TForm1::GainSel, "GainSel", PanelControl::GainSel, 144, 200},
    {&TForm1::SyncSel, "SyncSel", PanelControl::SyncSel, 144, 240},
    {&TForm1::GammaSel, "GammaSel", PanelControl::GammaSel, 144, 280},
    {&TForm1::BlcSel, "BlcSel", PanelControl::BlcSel, 144, 320},
    {&TForm1::WhiteBalSel, "WhiteBalSel", PanelControl::WhiteBalSel, 384, 40},
    {&TForm1::SharpnessSel, "SharpnessSel", PanelControl::SharpnessSel, 384, 200},
    {&TForm1::PredtmspSel, "PredtmspSel", PanelControl::PredtmspSel, 384, 240},
    {&TForm1::IDPosSel, "IDPosSel", PanelControl::IDPosSel, 392, 320},
    {&TForm1::ShutterIris, "ShutterIris", PanelControl::ShutterIris, 232, 160},
    {&TForm1::SyncDC, "SyncDC", PanelControl::SyncDC, 232, 240},
};
