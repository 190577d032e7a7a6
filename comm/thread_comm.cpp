#include "comm/thread_comm.h"

#include <mutex>

#include "comm/comm_event_thread.h"
#include "platform/device_names.h"
#include "platform/serial_device.h"

namespace {

// The write time-out multiplier in ms per byte for a line speed.
uint32_t WriteMultiplier(TBaudRate rate) {
  return static_cast<uint32_t>(19200 / BaudRateBitsPerSecond(rate));
}

}  // namespace

TThreadComm::TThreadComm(std::shared_ptr<TCommHandOver> handOver)
    : monitorEvents_(AllCommEvents()),
      eventChars_(this),
      handOver_(std::move(handOver)),
      programFolder_(ExecutableFolder()) {}

TThreadComm::~TThreadComm() {
  Close();
}

void TThreadComm::SetHandOver(std::shared_ptr<TCommHandOver> handOver) {
  handOver_ = std::move(handOver);
}

void TThreadComm::SetProgramFolder(const std::string& folder) {
  programFolder_ = folder;
}

void TThreadComm::SetDriver(std::shared_ptr<SerialDriver> driver) {
  driver_ = std::move(driver);
}

void TThreadComm::Lock() {
  lock_.lock();
}

void TThreadComm::Unlock() {
  lock_.unlock();
}

void TThreadComm::CreateHandle() {
  const std::string path = ResolveSerialDeviceName(deviceName_, programFolder_);
  device_ = driver_ ? SerialDevice::Open(path, driver_) : SerialDevice::Open(path);
  if (device_) openedPath_ = path;
}

void TThreadComm::DestroyHandle() {
  device_.reset();
  open_ = false;
}

void TThreadComm::Open() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (open_) throw ECommError(comm_message::AlreadyOpen, -1);
  CreateHandle();
  if (!device_) return;
  open_ = true;
  if (!device_->IsTerminal()) {
    DestroyHandle();
    return;
  }
  device_->SetEventMask(serial_event::All);
  UpdateCommTimeouts();
  UpdateDataControlBlock();
  int bufferError = device_->SetupBuffers(readBufSize_, writeBufSize_);
  eventThread_ = TCommEventThread::Create(*device_, monitorEvents_, suspendTime_, handOver_);
  if (eventThread_) {
    eventThread_->SetCallback([this](TCommEventThread& Sender, uint32_t EventMask) {
      HandleCommEvent(Sender, EventMask);
    });
    if (!eventThread_->Start()) {
      eventThread_.reset();
      DestroyHandle();
    }
  } else if (handOver_) {
    DestroyHandle();
  }
  if (bufferError != 0) throw ECommError(comm_message::Buffers, bufferError);
}

void TThreadComm::Close() {
  if (!open_) return;
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (eventThread_) {
    // An event already on its way to the main thread finds no callback.
    eventThread_->ClearCallback();
    eventThread_->Terminate();
    eventThread_.reset();
  }
  DestroyHandle();
}

bool TThreadComm::Gone() const {
  return open_ && device_ && device_->Gone();
}

int32_t TThreadComm::Write(const void* Buffer, uint32_t Count) {
  if (!open_) return -1;
  std::lock_guard<std::recursive_mutex> guard(lock_);
  int error = 0;
  const uint32_t written = device_->Write(Buffer, Count, error);
  if (error != 0) {
    uint32_t errors = 0;
    TComStat stat;
    device_->ClearError(errors, stat);
  }
  return static_cast<int32_t>(written);
}

int32_t TThreadComm::Read(void* Buffer, uint32_t Count) {
  if (!open_) return -1;
  std::lock_guard<std::recursive_mutex> guard(lock_);
  uint32_t errors = 0;
  TComStat stat;
  device_->ClearError(errors, stat);
  if (Count == 0) {
    device_->ClearError(errors, stat);
    return 0;
  }
  int error = 0;
  const uint32_t got = device_->Read(Buffer, Count, error);
  if (error != 0) device_->ClearError(errors, stat);
  return static_cast<int32_t>(got);
}

int32_t TThreadComm::InQueCount() {
  if (!open_) return -1;
  uint32_t errors = 0;
  TComStat stat;
  device_->ClearError(errors, stat);
  return static_cast<int32_t>(stat.cbInQue);
}

int32_t TThreadComm::OutQueCount() {
  if (!open_) return -1;
  uint32_t errors = 0;
  TComStat stat;
  device_->ClearError(errors, stat);
  return static_cast<int32_t>(stat.cbOutQue);
}

void TThreadComm::PurgeIn() {
  if (open_) device_->Purge(serial_purge::RxAbort | serial_purge::RxClear);
}

void TThreadComm::PurgeOut() {
  if (open_) device_->Purge(serial_purge::TxAbort | serial_purge::TxClear);
}

void TThreadComm::EscapeComm(int32_t Code) {
  if (!open_) throw ECommError(comm_message::NotOpen, -1);
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (const int error = device_->Escape(Code)) throw ECommError(comm_message::Escape, error);
}

void TThreadComm::SetDTRState(bool State) {
  EscapeComm(State ? serial_escape::SetDtr : serial_escape::ClrDtr);
}

void TThreadComm::SetRTSState(bool State) {
  EscapeComm(State ? serial_escape::SetRts : serial_escape::ClrRts);
}

void TThreadComm::SetBREAKState(bool State) {
  EscapeComm(State ? serial_escape::SetBreak : serial_escape::ClrBreak);
  if (!open_) return;
  std::lock_guard<std::recursive_mutex> guard(lock_);
  device_->Purge(serial_purge::TxAbort | serial_purge::RxAbort | serial_purge::TxClear |
                 serial_purge::RxClear);
}

void TThreadComm::SetXONState(bool State) {
  EscapeComm(State ? serial_escape::SetXon : serial_escape::SetXoff);
}

bool TThreadComm::GetModemState(int32_t Index) {
  static constexpr uint32_t kBits[] = {serial_modem::CtsOn, serial_modem::DsrOn,
                                       serial_modem::RingOn, serial_modem::RlsdOn};
  if (!open_ || Index < 1 || Index > 4) return false;
  uint32_t bits = 0;
  if (device_->ModemStatus(bits) != 0) return false;
  return (bits & kBits[Index - 1]) != 0;
}

bool TThreadComm::GetComState(int32_t Index) {
  if (!open_) return false;
  uint32_t errors = 0;
  TComStat stat;
  device_->ClearError(errors, stat);
  switch (Index) {
    case 2:
      return stat.fDsrHold;
    case 3:
      return stat.fRlsdHold;
    case 4:
      return stat.fXoffHold;
    case 5:
      return stat.fXoffSent;
    default:
      return stat.fCtsHold;
  }
}

void TThreadComm::CheckOpen() {
  if (open_) throw ECommError(comm_message::AlreadyOpen, -1);
}

void TThreadComm::UpdateCommTimeouts() {
  if (!open_) return;
  SerialTimeouts t;
  t.ReadIntervalTimeout = 0xFFFFFFFFu;
  t.ReadTotalTimeoutMultiplier = 0;
  t.ReadTotalTimeoutConstant = 1000;
  t.WriteTotalTimeoutMultiplier = WriteMultiplier(baudRate_);
  t.WriteTotalTimeoutConstant = 0;
  if (const int error = device_->SetTimeouts(t)) throw ECommError(comm_message::Timeouts, error);
}

void TThreadComm::UpdateDataControlBlock() {
  if (!open_) return;
  device_->SetupBuffers(readBufSize_, writeBufSize_);
  device_->GetLineSettings(dcb_);
  dcb_.BaudRate = static_cast<uint32_t>(BaudRateBitsPerSecond(baudRate_));
  dcb_.Parity = parity_;
  dcb_.StopBits = stopBits_;
  dcb_.ByteSize = static_cast<uint8_t>(dataBits_ + 4);
  dcb_.XonChar = eventChars_.XOnChar();
  dcb_.XoffChar = eventChars_.XOffChar();
  dcb_.ErrorChar = eventChars_.ErrorChar();
  dcb_.EofChar = eventChars_.EofChar();
  dcb_.EvtChar = eventChars_.EvtChar();
  dcb_.XonLim = 1024;
  dcb_.XoffLim = 1024;
  dcb_.fParity = options_.Contains(coParityCheck);
  dcb_.fDsrSensitivity = options_.Contains(coDsrSensitivity);
  dcb_.fTXContinueOnXoff = options_.Contains(coIgnoreXOff);
  dcb_.fErrorChar = options_.Contains(coErrorChar);
  dcb_.fNull = options_.Contains(coNullStrip);
  if (const int error = device_->SetLineSettings(dcb_)) {
    throw ECommError(comm_message::LineSettings, error);
  }
  // The record tells what the line really uses.
  device_->GetLineSettings(dcb_);
}

void TThreadComm::UpdateDataControlBlockLock() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  UpdateDataControlBlock();
}
