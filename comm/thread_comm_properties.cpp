// Property setters: an equal value does nothing; the device-related ones are
// ignored while the port is open; line settings apply at once.
#include "comm/thread_comm.h"

void TThreadComm::SetDeviceName(const std::string& value) {
  if (value == deviceName_ || open_) return;
  deviceName_ = value;
}

void TThreadComm::SetReadTimeout(int32_t value) {
  if (value != readTimeout_) readTimeout_ = value;
}

void TThreadComm::SetWriteTimeout(int32_t value) {
  if (value != writeTimeout_) writeTimeout_ = value;
}

void TThreadComm::SetReadBufSize(uint16_t value) {
  if (value == readBufSize_ || open_) return;
  readBufSize_ = value;
}

void TThreadComm::SetWriteBufSize(uint16_t value) {
  if (value == writeBufSize_ || open_) return;
  writeBufSize_ = value;
}

void TThreadComm::SetSuspendTime(uint32_t value) {
  if (value == suspendTime_ || open_) return;
  suspendTime_ = value;
}

void TThreadComm::SetMonitorEvents(const TCommEventTypes& value) {
  if (value == monitorEvents_ || open_) return;
  monitorEvents_ = value;
}

void TThreadComm::SetBaudRate(TBaudRate value) {
  if (value == baudRate_) return;
  baudRate_ = value;
  UpdateDataControlBlockLock();
}

void TThreadComm::SetParity(TParity value) {
  if (value == parity_) return;
  parity_ = value;
  UpdateDataControlBlockLock();
}

void TThreadComm::SetStopBits(TStopBits value) {
  if (value == stopBits_) return;
  stopBits_ = value;
  UpdateDataControlBlockLock();
}

void TThreadComm::SetDataBits(TDataBits value) {
  if (value == dataBits_) return;
  dataBits_ = value;
  UpdateDataControlBlockLock();
}

void TThreadComm::SetOptions(const TCommOptions& value) {
  if (value == options_) return;
  options_ = value;
  UpdateDataControlBlockLock();
}

void TThreadComm::SetFlowControl(TFlowControl value) {
  if (value == flowControl_) return;
  flowControl_ = value;
  UpdateDataControlBlockLock();
}
