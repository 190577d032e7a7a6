#include "link/camera_link_state.h"

#include <cstring>

CameraLinkState LinkState{};
uint8_t CameraAddress = kDefaultCameraAddress;

bool LinkBusy(const CameraLinkState& state) {
  return state.ReadBusy || state.WriteBusy || state.ProbeBusy || state.DelayReadBusy ||
         state.DelayWriteBusy;
}

int PendingIndex(uint8_t item) {
  if (item >= 0x01 && item <= 0x0D) return item - 1;
  if (item == 0x81) return 13;
  if (item == 0x82) return 14;
  return -1;
}

bool ItemIsPending(const CameraLinkState& state, uint8_t item) {
  if (item == 0x21) return state.ColToWbPending != 0;
  if (item == 0x22) return state.WbToColPending != 0;
  const int index = PendingIndex(item);
  return index >= 0 && state.ItemPending[index] != 0;
}

void SetItemPending(CameraLinkState& state, uint8_t item, bool pending) {
  const uint8_t flag = pending ? 1 : 0;
  if (item == 0x21) {
    state.ColToWbPending = flag;
  } else if (item == 0x22) {
    state.WbToColPending = flag;
  } else if (const int index = PendingIndex(item); index >= 0) {
    state.ItemPending[index] = flag;
  }
}

void ClearLinkFlags(CameraLinkState& state) {
  state.MissedTicks = 0;
  state.RxCount = 0;
  state.ReadBusy = 0;
  state.WriteBusy = 0;
  state.ProbeBusy = 0;
  state.ProbeTries = 0;
  state.AwaitingReply = 0;
  state.IdIndex = 0;
  state.ColToWbPending = 0;
  state.WbToColPending = 0;
  std::memset(state.ItemPending, 0, sizeof state.ItemPending);
  state.DelayReadBusy = 0;
  state.DelayWriteBusy = 0;
}
