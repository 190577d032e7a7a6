// A USB RS-485 adapter as the serial layer sees it on a pseudo-terminal: its
// transmitter-empty flag is a copy of the adapter's status, refreshed once
// per latency timer, so it says "busy" up to that long after the last stop
// bit and still "empty" just after new bytes. As an on-board UART (`exact`)
// it asks the serial layer to trust that flag alone, as it once did for
// every driver. The received side of the adapter is the simulator's
// --adapter-latency.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "link/link_services.h"
#include "platform/serial_driver.h"

class AdapterModel : public SerialDriver {
 public:
  using Clock = std::chrono::steady_clock;

  AdapterModel(int latencyMs, bool exact);

  // The line is busy with these bytes from now (or from the end of the last).
  void Sent(uint32_t bytes, int baud);

  int LineStatus(int fd, unsigned& lsr) override;
  int GetSerialInfo(int fd, SerialInfo& info) override;
  // Low-latency mode needs the hardware; the request is taken and ignored.
  int SetSerialFlags(int, int) override { return 0; }

 private:
  struct Busy {
    Clock::time_point from, to;
  };
  const Clock::duration latency_;
  const bool exact_;
  const Clock::time_point origin_ = Clock::now();
  std::mutex mutex_;
  std::deque<Busy> busy_;
};

// Passes everything to another port and tells the model what was sent.
class AdapterPort : public LinkPort {
 public:
  AdapterPort(LinkPort& inner, std::shared_ptr<AdapterModel> model)
      : inner_(inner), model_(std::move(model)) {}
  bool Enabled() const override { return inner_.Enabled(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override;
  int32_t Read(uint8_t* buffer, uint32_t count) override { return inner_.Read(buffer, count); }
  void SetRTSState(bool state) override { inner_.SetRTSState(state); }
  int BaudRate() const override { return inner_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { inner_.SetBaudRate(bitsPerSecond); }

 private:
  LinkPort& inner_;
  std::shared_ptr<AdapterModel> model_;
};
