// The camera link engine: reply receiver and dispatcher, exchange sequencer,
// watchdog, Read/Write Camera, image delay transfers, Get Protocol State,
// frame transmission and the ProtocolSpeed sweep. Runs on the main thread and
// reaches the program only through the interfaces it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "link/camera_link_state.h"
#include "link/camera_panel.h"
#include "link/line_speeds.h"
#include "link/link_services.h"
#include "link/transfer_observer.h"

// The transfers the engine runs; at most one at a time.
enum class TransferKind : uint8_t {
  Read,        // Read Camera
  Write,       // Write Camera
  DelayRead,   // the image delay dialog's Read
  DelayWrite,  // the image delay dialog's Write
  Probe,       // Get Protocol State
  LineLent,    // the line lent to another user (Find Cameras)
};

struct QamProtocolServices {
  CameraLinkState& state;
  uint8_t& cameraAddress;
  CameraPanel& panel;
  LinkWindow& window;
  LinkPort& port;
  LinkTimer& existTimer;        // the watchdog
  LinkTimer& qamProtocolTimer;  // the receiver's inter-byte timer
  LinkSleep& sleep;
};

class QamProtocol {
 public:
  explicit QamProtocol(const QamProtocolServices& services);

  // Start-up: clears the missed-tick counter and sends the first poll, which
  // starts the watchdog (also when the port is closed).
  void Start();

  // Handlers, all on the main thread.
  void Comm1RxChar(uint32_t count);  // bytes waiting on the port
  void Comm1TxEmpty();
  // The port's device has gone: the tool holding the line (Find Cameras, Write
  // to Several Cameras) ends at once; the engine sends no more, and the lamp
  // goes red by the watchdog as for any silent camera.
  void Comm1Gone();
  void ExistTimerTimer();
  void QamProtocolTimerTimer();
  void ReadButtonClick();
  void WriteButtonClick();
  void ReadImageDelayClick();
  void WriteImageDelayClick();
  void GetRS422SETS1Click();  // "Get Protocol State"
  void ProtocolSpeedClick();

  // Shared with the PTZ buttons. True also while the link is paused.
  bool LinkBusy() const;
  void RestartWatchdog();                              // stop, 500 ms, start
  void SendFrame(const uint8_t* bytes, size_t count);  // RTS off, one Write per byte
  // PTZ protocol code from the Protocol menu: Pelco P 0, else Pelco D 1, else 2.
  uint8_t ProtocolCode() const;
  // Enables the four Read/Write buttons exactly while the dialog's lamp is lime.
  void LinkDisplayUpdate();

  // Hands the line to another user (Find Cameras): the watchdog stops, every
  // received byte goes to `sink`, the lamp keeps its colour and the commands
  // refuse. The other user sends through SendFrame, so the transmit-empty
  // handling (guard time, RTS) stays the engine's. False while a transfer
  // runs or the link is already paused.
  bool Pause(LinkByteSink& sink);
  // Ends a pause: the port back at the Baud rate menu's rate, a poll at once.
  void Resume();
  bool Paused() const { return sink_ != nullptr; }

  // Hooks for Write to Several Cameras.
  // The address the requests carry; the window's address lists do not change.
  uint8_t Address() const { return s_.cameraAddress; }
  // Starts a Read, Write, DelayRead or DelayWrite transfer on another panel
  // and address than the user's; they stay until SetBackToUser. The line
  // starts afresh there: the silence or the reply awaited at the address
  // before is not this camera's. False (nothing done) while the link is busy.
  bool StartTransferAt(TransferKind kind, CameraPanel& panel, uint8_t address);
  // The window's panel and `address` again; a reply still on its way for
  // what was left counts for nothing.
  void SetBackToUser(uint8_t address);
  // The port's rate and whether its device has gone, for a tool's report.
  int LineBaud() const { return s_.port.BaudRate(); }
  bool LineGone() const { return s_.port.Gone(); }
  // Follows the transfers; nullptr: nobody. While one is set, an AI lens is
  // reported to it instead of raising the notice.
  void SetTransferObserver(TransferObserver* observer) { observer_ = observer; }
  // How the last transfer begun (Get Protocol State included) ended; empty
  // while it runs, and when it was cancelled or left. Callers decide success
  // from this, never from the status texts.
  std::optional<TransferEnd> LastTransferEnd() const { return lastEnd_; }
  // Ends the running transfer at once and quietly: no status text, no lamp.
  // A reply still on its way for it counts for nothing.
  void CancelTransfer();

  // Disagreeing write replies in a row after which a write transfer ends.
  static constexpr uint8_t kWriteRefusalLimit = 8;

  // The ProtocolSpeed sweep's step is the speed code it has set (a row of
  // the speed table); one past the last row when no sweep runs.
  static constexpr uint8_t kSweepIdle = 0xFF;  // no speed code
  uint8_t ProtocolSpeedStep = kSweepIdle;

 private:
  // Every transfer starts here. `panel`, when given, is the panel it works
  // on, with `address`, and the line starts afresh: no missed ticks, no reply
  // awaited, no ProtocolSpeed sweep. Without one the transfer takes the link
  // as it stands (the user's commands). False while the link is busy.
  bool BeginTransfer(TransferKind kind, CameraPanel* panel = nullptr, uint8_t address = 0,
                     LinkByteSink* sink = nullptr);
  void TakeLineAfresh();

  // Receiver.
  void ReceiveByte(uint8_t byte);

  // Reply dispatcher.
  void DispatchReply(const uint8_t* frame);
  void OnPollReply();
  void OnReadReply(const uint8_t* frame);
  void OnWriteReply(const uint8_t* frame);
  void OnProtocolStateReply(const uint8_t* frame);
  void ApplyProtocolState(const uint8_t* frame);
  bool CheckWriteReply(uint8_t item, uint8_t value, uint8_t extra);
  bool CheckShutterWrite(uint8_t value);
  bool CheckIdWrite(uint8_t position, uint8_t character);
  void CountRefusedWrite(bool confirmed);
  void EndRefusedWrite(uint8_t value);
  void FinishTransfer();
  void ReportTransferEnd(TransferEnd end);

  // Sequencer.
  bool WriteTransferRunning() const;
  uint8_t NextPendingItem();
  void SendNextRequest(bool write);
  void SendPoll();
  void SendReadRequest(uint8_t item);
  void SendWrite(uint8_t item);
  void SendGetProtocolState();
  void SendRequest(int watchdogMs);

  // Watchdog.
  void FailSilentLink();
  // Ends an image delay read or write with "Transfer ERROR..".
  void FailDelayTransfer();
  void SendFromTick();
  void GiveUpProbe();

  // Transmission and display.
  void AdvanceProtocolSpeedSweep();
  void StatusAfterTransmission();
  std::string TransferWord() const;
  void SetLampColour(LampColour colour);
  // Sets the port to the first checked rate of the Baud rate menu, looked up
  // in code order starting at `firstCode` and wrapping round; nothing when
  // none is checked.
  void RestoreMenuBaudRate(uint8_t firstCode);

  QamProtocolServices s_;
  CameraPanel* panel_;
  TransferObserver* observer_ = nullptr;
  std::optional<TransferEnd> lastEnd_;
  LinkByteSink* sink_ = nullptr;  // set while paused
  // Disagreeing write replies in a row for the item (and ID position) last written.
  uint8_t refusedWrites_ = 0;
  uint8_t refusedItem_ = 0;
  uint8_t refusedIdIndex_ = 0;
  // A reply's modal notice is open: its message loop keeps delivering serial
  // events and ticks, and none of them may move the transfer on a second time.
  bool noticeOpen_ = false;
  // Replies to requests of a transfer that was cancelled or left: read and
  // write replies count for nothing until the next read or write request.
  bool staleReplies_ = false;
  uint32_t requestsSent_ = 0;  // counts requests, so a tick sends at most one
};
