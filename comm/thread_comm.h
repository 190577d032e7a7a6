// The serial port component: opens a serial device by name, applies the line
// settings, transfers bytes, drives the modem lines and reports port events
// through its handler slots, always on the main thread.
//
// Events reach the main thread through a TCommHandOver, given to the
// constructor or to SetHandOver before Open. Without one, Open starts no
// event thread and no event is reported.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "comm/comm_error.h"
#include "comm/comm_event_chars.h"
#include "comm/comm_hand_over.h"
#include "comm/comm_types.h"
#include "platform/serial_types.h"

class SerialDevice;
class SerialDriver;
class TCommEventThread;

using TComStat = SerialStatus;

class TThreadComm {
 public:
  using TNotifyEvent = std::function<void(TThreadComm& Sender)>;
  using TCommErrorEvent = std::function<void(TThreadComm& Sender, int32_t Errors)>;
  using TCommRxCharEvent = std::function<void(TThreadComm& Sender, uint32_t Count)>;
  using TCommComStatEvent =
      std::function<void(TThreadComm& Sender, uint32_t Status, TComStat ComStat)>;

  explicit TThreadComm(std::shared_ptr<TCommHandOver> handOver = nullptr);
  virtual ~TThreadComm();
  TThreadComm(const TThreadComm&) = delete;
  TThreadComm& operator=(const TThreadComm&) = delete;

  // Used by the next Open.
  void SetHandOver(std::shared_ptr<TCommHandOver> handOver);
  // Where "Com1" and "Com2" are looked up first; default: the folder of the
  // running program.
  void SetProgramFolder(const std::string& folder);
  const std::string& ProgramFolder() const { return programFolder_; }
  // Who answers the driver queries from the next Open on; default: the kernel.
  void SetDriver(std::shared_ptr<SerialDriver> driver);

  void Open();
  void Close();
  bool Enabled() const { return open_; }
  // The open device has gone (unplugged, hung up): it stays open, carrying
  // nothing, until Close. OnGone has told the main thread, once.
  bool Gone() const;
  // The path the last successful Open used ("Com1" resolved to its link in
  // the program's folder, or to the on-board port); kept after Close, so an
  // owner can wait for a device that has gone to come back there.
  const std::string& OpenedPath() const { return openedPath_; }
  int32_t Write(const void* Buffer, uint32_t Count);
  int32_t Read(void* Buffer, uint32_t Count);
  int32_t InQueCount();
  int32_t OutQueCount();
  void PurgeIn();
  void PurgeOut();
  void SetDTRState(bool State);
  void SetRTSState(bool State);
  void SetBREAKState(bool State);
  void SetXONState(bool State);
  void EscapeComm(int32_t Code);
  bool GetModemState(int32_t Index);
  bool GetComState(int32_t Index);
  void CheckOpen();
  void Lock();
  void Unlock();
  void UpdateDataControlBlock();
  void UpdateDataControlBlockLock();
  void UpdateCommTimeouts();
  virtual void CreateHandle();
  void DestroyHandle();
  void HandleCommEvent(TCommEventThread& Sender, uint32_t EventMask);

  // Properties.
  const std::string& DeviceName() const { return deviceName_; }
  void SetDeviceName(const std::string& value);
  int32_t ReadTimeout() const { return readTimeout_; }
  void SetReadTimeout(int32_t value);
  int32_t WriteTimeout() const { return writeTimeout_; }
  void SetWriteTimeout(int32_t value);
  uint16_t ReadBufSize() const { return readBufSize_; }
  void SetReadBufSize(uint16_t value);
  uint16_t WriteBufSize() const { return writeBufSize_; }
  void SetWriteBufSize(uint16_t value);
  uint32_t SuspendTime() const { return suspendTime_; }
  void SetSuspendTime(uint32_t value);
  TCommEventTypes MonitorEvents() const { return monitorEvents_; }
  void SetMonitorEvents(const TCommEventTypes& value);
  TBaudRate BaudRate() const { return baudRate_; }
  void SetBaudRate(TBaudRate value);
  TParity Parity() const { return parity_; }
  void SetParity(TParity value);
  TStopBits StopBits() const { return stopBits_; }
  void SetStopBits(TStopBits value);
  TDataBits DataBits() const { return dataBits_; }
  void SetDataBits(TDataBits value);
  TCommOptions Options() const { return options_; }
  void SetOptions(const TCommOptions& value);
  TFlowControl FlowControl() const { return flowControl_; }
  void SetFlowControl(TFlowControl value);
  TCommEventChars& EventChars() { return eventChars_; }
  const TCommEventChars& EventChars() const { return eventChars_; }

  // The line settings record as last read and written back.
  const SerialLineSettings& LineSettings() const { return dcb_; }
  // The event thread of the last Open (nullptr when closed).
  const std::shared_ptr<TCommEventThread>& EventThread() const { return eventThread_; }

  // Handler slots; an empty slot is skipped.
  TNotifyEvent OnBreak;
  TNotifyEvent OnCts;
  TNotifyEvent OnDsr;
  TCommErrorEvent OnError;
  TNotifyEvent OnRing;
  TNotifyEvent OnRlsd;
  TCommRxCharEvent OnRxChar;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnRxFlag;
  TNotifyEvent OnGone;
  TCommComStatEvent OnComStatEvent;

 private:
  std::unique_ptr<SerialDevice> device_;  // the port handle; null while closed
  SerialLineSettings dcb_;
  std::string deviceName_ = "Com2";
  std::string openedPath_;
  std::recursive_mutex lock_;
  int32_t readTimeout_ = 1000;
  int32_t writeTimeout_ = 1000;
  uint16_t readBufSize_ = 4096;
  uint16_t writeBufSize_ = 2048;
  uint32_t suspendTime_ = 5;
  TCommEventTypes monitorEvents_;
  TBaudRate baudRate_ = br9600;
  TParity parity_ = paNone;
  TStopBits stopBits_ = sb10;
  TDataBits dataBits_ = da8;
  bool open_ = false;
  std::shared_ptr<TCommEventThread> eventThread_;
  TCommEventChars eventChars_;
  TCommOptions options_;
  TFlowControl flowControl_ = fcDefault;
  std::shared_ptr<TCommHandOver> handOver_;
  std::string programFolder_;
  std::shared_ptr<SerialDriver> driver_;
};
