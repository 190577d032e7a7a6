// The camera's settings vocabulary: item codes, the panel control that holds
// each item, its list entries, defaults and status words. Every user (panel,
// link engine, settings file, simulator) reads this one table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/panel_controls.h"
#include "link/ptz_protocols.h"

enum class ItemKind : uint8_t { List, IdText, Gain, Delay };

// Item codes.
constexpr uint8_t kItemDNMode = 0x01;
constexpr uint8_t kItemDNLevel = 0x02;
constexpr uint8_t kItemDNFil = 0x03;
constexpr uint8_t kItemShutter = 0x04;
constexpr uint8_t kItemGain = 0x05;
constexpr uint8_t kItemSync = 0x06;
constexpr uint8_t kItemBlc = 0x07;
constexpr uint8_t kItemAperture = 0x08;
constexpr uint8_t kItemWhiteBal = 0x09;
constexpr uint8_t kItemId = 0x0A;
constexpr uint8_t kItemIdPos = 0x0B;
constexpr uint8_t kItemGamma = 0x0C;
constexpr uint8_t kItemPredtmsp = 0x0D;
constexpr uint8_t kItemColToWb = 0x21;
constexpr uint8_t kItemWbToCol = 0x22;
constexpr uint8_t kItemRedGain = 0x81;
constexpr uint8_t kItemBlueGain = 0x82;

// Special reported values.
constexpr uint8_t kShutterIrisValue = 9;     // "IRIS", only ever reported by a camera
constexpr uint8_t kSyncDCValue = 2;          // "---", only ever reported by a camera
constexpr uint8_t kWhiteBalManual = 3;       // "MANUAL"
constexpr uint8_t kDelayCodeSpecial = 0x50;  // shown as kDelayPositionSpecial
constexpr int kDelayPositionSpecial = 4;     // past the delay list's entries
constexpr int kGainMin = 0;
constexpr int kGainMax = 63;
constexpr size_t kIdLength = 16;

struct CameraItem {
  uint8_t code;
  const char* label;       // panel label caption (empty for the dialog's items)
  const char* statusWord;  // word after "Read " / "Write " in the status bar
  ItemKind kind;
  PanelControl control;  // the plain control; ShutterSel and SyncSel for 0x04 and 0x06
  uint8_t defaultValue;  // list position, gain or delay code
  const char* hint;      // hint of the control; empty when it has none
  int helpContext;       // help topic of the control
  const char* fileKey;   // key of its settings file line; nullptr: the label
  int fileLine;          // place among the settings file's value lines, from 0
  int transferStep;      // place in its transfer (Read/Write Camera, or image delay)
  const char* name;      // the item alone (trace, line monitor, simulator); nullptr: statusWord
};

// All items, in item-code order (0x01..0x0D, 0x21, 0x22, 0x81, 0x82).
const std::vector<CameraItem>& CameraItems();
// The item's name where it stands alone: the trace, the line monitor, the
// simulator's options ("COL>BW DELAY").
const char* CameraItemName(const CameraItem& item);
// The name of the step of its transfer, as Write to Several Cameras' rows show
// it: the image delay items share one ("IMAGE DELAY").
const char* TransferStepName(const CameraItem& item);
// The item of that code, or nullptr.
const CameraItem* FindCameraItem(uint8_t code);
// The item held by that control (ShutterIris and SyncDC give their item), or nullptr.
const CameraItem* ItemOfControl(PanelControl control);

// Entries of a list control in list order, trailing blanks kept. Empty for
// controls that are not lists (up-downs, IdEdit).
const std::vector<std::string>& ListEntries(PanelControl control);

// The panel items in the order Read Camera and Write Camera move them, and
// the image delay items in theirs; both follow the items' transfer steps.
extern const std::array<uint8_t, kPanelItemCount> kTransferOrder;
extern const std::array<uint8_t, kDelayItemCount> kDelayTransferOrder;

// Index of an item's flag among the pending flags of the panel items (table
// order without the image delay items), or -1 for an item without one.
int PendingIndex(uint8_t item);

// List position of a delay code (0x50 is the position past the entries) and
// the code of a list position.
int DelayPositionOfCode(uint8_t code);
uint8_t DelayCodeOfPosition(int position);

// Characters the ID text accepts: "A".."Z", "0".."9", blank and < > - . , ; * / :
bool IsIdChar(char c);

// "Protocol Type : PELCO P" for a code with a row in link/ptz_protocols.cpp
// (the code the poll frame and the protocol state reply carry), empty otherwise.
std::string ProtocolText(uint8_t code);
