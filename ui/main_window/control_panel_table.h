// The settings panel's labels and lists, one row each: its object name, the
// camera control it shows and where it stands. The captions, entries, hints
// and help topics come from the camera item table, so the layout, the lookups
// and the tab order all follow these rows.
#pragma once

#include <QString>

#include "link/camera_items.h"

struct PanelLabelRow {
  const char* name;
  PanelControl control;  // the caption is its item's label
  int x;
  int y;
};

struct PanelListRow {
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
    {"DNModeLabel", PanelControl::DNModeSel, 16, 40},
    {"DNLevelLabel", PanelControl::DNLevelSel, 16, 80},
    {"DNFilLabel", PanelControl::DNFilSel, 16, 120},
    {"ShutterLabel", PanelControl::ShutterSel, 16, 160},
    {"GainLablel", PanelControl::GainSel, 16, 200},
    {"SyncLabel", PanelControl::SyncSel, 16, 240},
    {"GammaLabel", PanelControl::GammaSel, 16, 280},
    {"BlcLabel", PanelControl::BlcSel, 16, 320},
    {"WhiteBalLabel", PanelControl::WhiteBalSel, 256, 40},
    {"SharpnessLabel", PanelControl::SharpnessSel, 248, 200},
    {"PredtmspLabel", PanelControl::PredtmspSel, 248, 240},
    {"IdLabel", PanelControl::IdEdit, 248, 280},
    {"IdPosLabel", PanelControl::IDPosSel, 248, 320},
    {"RedLabel", PanelControl::RedUpDown, 280, 80},
    {"BlueLabel", PanelControl::BlueUpDown, 384, 80},
};

// The lists of the main window; the image delay dialog holds the other two.
// The alternatives start beside their plain lists; start-up puts them on top.
inline const PanelListRow kPanelLists[] = {
    {"DNModeSel", PanelControl::DNModeSel, 144, 40},
    {"DNLevelSel", PanelControl::DNLevelSel, 144, 80},
    {"DNFilSel", PanelControl::DNFilSel, 144, 120},
    {"ShutterSel", PanelControl::ShutterSel, 144, 160},
    {"GainSel", PanelControl::GainSel, 144, 200},
    {"SyncSel", PanelControl::SyncSel, 144, 240},
    {"GammaSel", PanelControl::GammaSel, 144, 280},
    {"BlcSel", PanelControl::BlcSel, 144, 320},
    {"WhiteBalSel", PanelControl::WhiteBalSel, 384, 40},
    {"SharpnessSel", PanelControl::SharpnessSel, 384, 200},
    {"PredtmspSel", PanelControl::PredtmspSel, 384, 240},
    {"IDPosSel", PanelControl::IDPosSel, 392, 320},
    {"ShutterIris", PanelControl::ShutterIris, 232, 160},
    {"SyncDC", PanelControl::SyncDC, 232, 240},
};

// Tab order of the panel's controls, by object name.
inline const char* const kPanelTabOrder[] = {
    "DNModeSel", "DNLevelSel", "DNFilSel",     "ShutterSel",  "GainSel",
    "SyncSel",   "BlcSel",     "SharpnessSel", "WhiteBalSel", "IdEdit",
    "IDPosSel",  "RedUpDown",  "BlueUpDown",   "BlueNumEdit", "RedNumEdit",
    "FileMemo",  "SyncDC",     "ShutterIris",  "GammaSel",    "PredtmspSel"};
