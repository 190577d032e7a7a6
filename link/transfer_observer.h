// How a caller that runs the engine's transfers one after another (Write to
// Several Cameras) follows them.
#pragma once

#include <cstdint>

enum class TransferEnd : uint8_t {
  Finished,  // every item went and came back
  Failed,    // the camera fell silent ("READ ERROR.." and the like)
  Refused,   // a write ended after kWriteRefusalLimit disagreeing replies
  LineLost,  // the port's device went (unplugged, hung up)
};

class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // A read or write request for the item went out.
  virtual void TransferRequest(uint8_t item) = 0;
  // The camera answered a write of the item with another value, `value`: an
  // AI lens keeping its shutter (the transfer goes on, no notice is shown),
  // or just before a transfer ends Refused.
  virtual void WriteRefused(uint8_t item, uint8_t value) = 0;
  // Called last: the observer may start the next transfer from here.
  virtual void TransferEnded(TransferEnd end) = 0;
};
