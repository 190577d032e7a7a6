#include "link/camera_link_state.h"

#include <cstring>

#include "link/camera_items.h"

CameraLinkState LinkState{};
uint8_t CameraAddress = kDefaultCameraAddress;

bool LinkBusy(const CameraLinkState& state) {
  return state.ReadBusy || state.WriteBusy || state.ProbeBusy || state.DelayReadBusy ||
         state.DelayWriteBusy;
}

bool ItemIsPending(const CameraLinkState& state, uint8_t item) {
  if (item == kItemColToWb) return state.ColToWbPending != 0;
  if (item == kItemWbToCol) return state.WbToColPending != 0;
  const int index = PendingIndex(item);
  return index >= 0 && state.ItemPending[index] != 0;
}

void SetItemPending(CameraLinkState& state, uint8_t item, bool pending) {
  const uint8_t flag = pending ? 1 : 0;
  if (item == kItemColToWb) {
    state.ColToWbPending = flag;
  } else if (item == kItemWbToCol) {
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
