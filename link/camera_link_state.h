// The camera link's state: buffers, flags and counters of the settings
// protocol, laid out as one plain record of bytes.
#pragma once

#include <cstdint>

#include "link/panel_controls.h"

struct CameraLinkState {
  uint8_t TxFrame[10];    // the command frame being built and sent
  uint8_t IdText[17];     // ID character n at index n; read up to the first zero byte
  uint8_t MissedTicks;    // watchdog ticks since the last valid reply
  uint8_t RxCount;        // bytes of the reply frame received so far, 0..10
  uint8_t ReadBusy;       // Read Camera in progress
  uint8_t WriteBusy;      // Write Camera in progress
  uint8_t ProbeBusy;      // Get Protocol State in progress
  uint8_t ProbeTries;     // further Get Protocol State queries sent by the watchdog
  uint8_t AwaitingReply;  // a request went out and no valid reply has come since
  uint8_t IdIndex;        // next ID position to read or write, 0..15
  uint8_t ColToWbCode;    // delay code of item 0x21
  uint8_t WbToColCode;    // delay code of item 0x22
  uint8_t ColToWbPending;
  uint8_t WbToColPending;
  uint8_t ItemPending[kPanelItemCount];  // by PendingIndex: item-table order
  uint8_t DelayReadBusy;
  uint8_t DelayWriteBusy;
  uint8_t RxFrame[10];  // the reply frame being assembled
};

// The program's one instance, zeroed at start, and the camera address beside it.
extern CameraLinkState LinkState;
extern uint8_t CameraAddress;

constexpr uint8_t kDefaultCameraAddress = 1;
constexpr uint8_t kDefaultDelayCode = 1;

// True while any transfer runs: at most one of the busy flags is ever set.
bool LinkBusy(const CameraLinkState& state);

// Pending flag of an item (0x21 and 0x22 included); false for other items.
bool ItemIsPending(const CameraLinkState& state, uint8_t item);
void SetItemPending(CameraLinkState& state, uint8_t item, bool pending);

// Clears every flag and counter (busy, pending, tries, ID index, receiver);
// keeps the delay codes, the ID text and the frame buffers.
void ClearLinkFlags(CameraLinkState& state);
