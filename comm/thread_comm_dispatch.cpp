// Event dispatch on the main thread: one hand-over, handlers in fixed order.
#include "comm/comm_event_thread.h"
#include "comm/thread_comm.h"
#include "platform/serial_device.h"

void TThreadComm::HandleCommEvent(TCommEventThread&, uint32_t EventMask) {
  uint32_t errors = 0;
  TComStat stat;
  if (device_) device_->ClearError(errors, stat);
  const auto has = [EventMask](uint32_t bit) { return (EventMask & bit) != 0; };
  if (has(serial_event::Break) && OnBreak) OnBreak(*this);
  if (has(serial_event::Cts) && OnCts) OnCts(*this);
  if (has(serial_event::Dsr) && OnDsr) OnDsr(*this);
  if (has(serial_event::Err) && OnError) OnError(*this, static_cast<int32_t>(errors));
  if (has(serial_event::Ring) && OnRing) OnRing(*this);
  if (has(serial_event::Rlsd) && OnRlsd) OnRlsd(*this);
  if (has(serial_event::RxChar) && stat.cbInQue > 0 && OnRxChar) OnRxChar(*this, stat.cbInQue);
  if (has(serial_event::RxFlag) && OnRxFlag) OnRxFlag(*this);
  if (has(serial_event::TxEmpty) && OnTxEmpty) OnTxEmpty(*this);
  if (has(serial_event::Gone) && OnGone) OnGone(*this);
  if (OnComStatEvent) OnComStatEvent(*this, EventMask, stat);
}
