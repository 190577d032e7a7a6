// The camera link's view of the serial component.
#pragma once

#include "comm/thread_comm.h"
#include "link/link_services.h"

class CommLinkPort : public LinkPort {
 public:
  explicit CommLinkPort(TThreadComm& comm) : comm_(comm) {}
  bool Enabled() const override;
  // Gone while the device is gone, and while its owner, having closed it,
  // waits for it to come back.
  bool Gone() const override { return away_ || comm_.Gone(); }
  void SetAway(bool away) { away_ = away; }
  int32_t Write(const uint8_t* buffer, uint32_t count) override;
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override;
  // Bits per second of the component's BaudRate.
  int BaudRate() const override;
  // The TBaudRate of that speed; a speed without one is ignored.
  void SetBaudRate(int bitsPerSecond) override;

 private:
  TThreadComm& comm_;
  bool away_ = false;
};
