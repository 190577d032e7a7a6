// What the camera link needs from the rest of the program: the windows, the
// serial port, timers, a sleep and a clock. The main window implements these with
// widgets and the serial component; tests implement them on a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class LampColour : uint8_t { Red, Lime };

class LinkWindow {
 public:
  virtual ~LinkWindow() = default;
  // Main window StatusBar panel 3.
  virtual void SetMainStatus(const std::string& text) = 0;
  // Image delay dialog StatusInfo panel 0.
  virtual void SetDialogStatus(const std::string& text) = 0;
  // LightShape of the main window.
  virtual void SetLamp(LampColour colour) = 0;
  virtual LampColour Lamp() const = 0;
  // ImageDelayShape of the image delay dialog.
  virtual void SetDelayLamp(LampColour colour) = 0;
  virtual LampColour DelayLamp() const = 0;
  // ReadButton, WriteButton, ReadImageDelay and WriteImageDelay together.
  virtual void SetTransferButtonsEnabled(bool enabled) = 0;
  // Sets HundredAdd, TenAdd and UnitAdd to the digits of the address (no
  // selection where a digit has no entry) without running their change handlers.
  virtual void ShowAddress(uint8_t address) = 0;
  // Baud rate menu: is the item of a speed code checked; check it alone and show
  // its text in status panel 1.
  virtual bool BaudChecked(uint8_t code) const = 0;
  virtual void CheckBaud(uint8_t code) = 0;
  // Protocol menu: the same for codes 0..2 and status panel 2.
  virtual bool ProtocolChecked(uint8_t code) const = 0;
  virtual void CheckProtocol(uint8_t code) = 0;
  // A modal notice with the caption "INFORMATION" and the information icon.
  virtual void ShowInformation(const std::string& text) = 0;
};

class LinkPort {
 public:
  virtual ~LinkPort() = default;
  virtual bool Enabled() const = 0;
  // The open port's device has gone (unplugged, hung up): nothing it is given
  // reaches the line. A port that cannot tell says no.
  virtual bool Gone() const { return false; }
  virtual int32_t Write(const uint8_t* buffer, uint32_t count) = 0;
  virtual int32_t Read(uint8_t* buffer, uint32_t count) = 0;
  virtual void SetRTSState(bool state) = 0;
  // Line speed in bits per second.
  virtual int BaudRate() const = 0;
  virtual void SetBaudRate(int bitsPerSecond) = 0;
};

// A window timer. Restart: stop, set the interval, start (the full interval
// runs anew). Start: start again with the current interval.
class LinkTimer {
 public:
  virtual ~LinkTimer() = default;
  virtual void Restart(int intervalMs) = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
  virtual int Interval() const = 0;
};

// A blocking sleep of the calling (main) thread.
class LinkSleep {
 public:
  virtual ~LinkSleep() = default;
  virtual void SleepMs(int milliseconds) = 0;
};

// Milliseconds from any fixed moment; only differences are used.
class LinkClock {
 public:
  virtual ~LinkClock() = default;
  virtual int64_t NowMs() const = 0;
};

// Takes the line's received bytes while the engine's own link is paused.
class LinkByteSink {
 public:
  virtual ~LinkByteSink() = default;
  virtual void ReceiveBytes(const uint8_t* bytes, size_t count) = 0;
  // The port has gone: the line's user ends at once.
  virtual void LineGone() {}
};
