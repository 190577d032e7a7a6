// The engine's port with a listener on it: the line monitor hears every byte
// the program writes and reads while it is open. With nobody listening the
// port only passes the calls on, so a closed monitor costs one test a call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link_services.h"

class LineListener {
 public:
  virtual ~LineListener() = default;
  virtual void BytesSent(const uint8_t* bytes, size_t count) = 0;
  virtual void BytesReceived(const uint8_t* bytes, size_t count) = 0;
  // The port goes first (the main window's members go before its child windows).
  virtual void PortGone() = 0;
};

class TappedLinkPort : public LinkPort {
 public:
  explicit TappedLinkPort(LinkPort& port) : port_(port) {}
  ~TappedLinkPort() override;
  TappedLinkPort(const TappedLinkPort&) = delete;
  TappedLinkPort& operator=(const TappedLinkPort&) = delete;

  // nullptr: nobody listens.
  void SetListener(LineListener* listener) { listener_ = listener; }
  LineListener* Listener() const { return listener_; }

  bool Enabled() const override { return port_.Enabled(); }
  bool Gone() const override { return port_.Gone(); }
  int32_t Write(const uint8_t* buffer, uint32_t count) override;
  int32_t Read(uint8_t* buffer, uint32_t count) override;
  void SetRTSState(bool state) override { port_.SetRTSState(state); }
  int BaudRate() const override { return port_.BaudRate(); }
  void SetBaudRate(int bitsPerSecond) override { port_.SetBaudRate(bitsPerSecond); }

 private:
  LinkPort& port_;
  LineListener* listener_ = nullptr;
};
