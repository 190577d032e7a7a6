// An open serial device on termios/ioctl/poll. Stands in for the operating
// system calls the serial component was built on; nothing above this layer
// sees a file descriptor. Calls that can fail return 0 or an errno value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/serial_driver.h"
#include "platform/serial_types.h"

class SerialEventWait;
struct SerialShared;

class SerialDevice {
 public:
  // Opens read/write, non-blocking, without controlling terminal, exclusive
  // (TIOCEXCL and flock). A terminal is set raw (no echo, no flow control,
  // CLOCAL, CREAD) and asked for low-latency mode where the driver has it
  // (USB adapters then hand received bytes over at once instead of after
  // their latency timer); the old driver flags come back on destruction.
  // Missing or busy (held by another opener): nullptr.
  static std::unique_ptr<SerialDevice> Open(
      const std::string& path, std::shared_ptr<SerialDriver> driver = KernelSerialDriver());
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // A character device that is a terminal.
  bool IsTerminal() const;
  // The device has gone (hung up, unplugged), as a read, a write or the event
  // wait found; the event wait then reports serial_event::Gone once. It stays
  // open for its owner until closed.
  bool Gone() const;

  // Events the event wait reports (serial_event bits).
  int SetEventMask(uint32_t mask);
  // Buffer sizes are fixed by the kernel; accepted and ignored.
  int SetupBuffers(uint32_t inSize, uint32_t outSize);
  int GetLineSettings(SerialLineSettings& settings);
  // Sets what the terminal can hold, then reads back what the line really
  // uses (a speed the driver rounded, two stop bits for one and a half).
  int SetLineSettings(const SerialLineSettings& settings);
  int SetTimeouts(const SerialTimeouts& timeouts);

  // Hands the bytes to the device. Waits (without spinning) while the device
  // buffer is full, at most count * WriteTotalTimeoutMultiplier +
  // WriteTotalTimeoutConstant ms (no limit when both are 0). Returns the bytes
  // written; error is 0 or the errno that stopped the transfer.
  uint32_t Write(const void* buffer, uint32_t count, int& error);
  // Returns when count bytes arrived or ReadTotalTimeoutConstant ms after the
  // call began, or at once after a hang-up; the bytes read.
  uint32_t Read(void* buffer, uint32_t count, int& error);

  // Error flag word collected since the last call (serial_error bits), then
  // cleared; the status record with the queue counts. Of the hold flags only
  // those the driver can tell are set: CTS hold (hardware flow control with
  // CTS low) and XOFF hold (transmission stopped by SetXoff); the others
  // stay false.
  int ClearError(uint32_t& errors, SerialStatus& status);
  int Purge(uint32_t flags);
  // serial_escape codes. A device without modem lines (ENOTTY) accepts the
  // RTS/DTR/break codes and does nothing; so does a device that has gone
  // (hung up or unplugged) for the RTS and DTR codes.
  int Escape(int32_t code);
  // serial_modem bits; all off on a device without modem lines.
  int ModemStatus(uint32_t& bits);

  // The event wait for one event thread: it owns a duplicate of the device
  // and a wake-up descriptor of its own, so it outlives this object safely.
  // nullptr with error set when the descriptors could not be made.
  std::shared_ptr<SerialEventWait> CreateEventWait(int& error);

 private:
  SerialDevice(int fd, std::shared_ptr<SerialDriver> driver);
  void RequestLowLatency();
  // Notes an error of the descriptor; true when it means the device has gone.
  bool NoteError(int error);
  int fd_;
  int wakeFd_ = -1;  // tells the event wait that bytes were written
  std::shared_ptr<SerialShared> shared_;
  SerialLineSettings settings_;
  SerialTimeouts timeouts_;
  bool xoffHold_ = false;
  bool restoreFlags_ = false;  // low-latency mode was asked for; undo it
  int oldFlags_ = 0;
};
