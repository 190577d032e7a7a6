// A camera at the far end of the fake port. It hears the bytes the port puts
// on the wire (only at its own speed), answers the settings protocol like a
// camera would, and can be scripted: silent, slow, keeping its own value of
// an item, splitting its replies, or answering a request with any bytes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "link/camera_items.h"
#include "tests/link/support/fake_port.h"
#include "tests/link/support/virtual_clock.h"

struct HeardFrame {
  VirtualUs time;  // when its last byte arrived
  int baud;
  std::vector<uint8_t> bytes;
};

class ScriptedCamera {
 public:
  using Bytes = std::vector<uint8_t>;

  // Listens on the port's wire, after any camera made before it; destroy
  // the cameras of a line together.
  ScriptedCamera(VirtualClock& clock, FakePort& port);
  ~ScriptedCamera();
  ScriptedCamera(const ScriptedCamera&) = delete;
  ScriptedCamera& operator=(const ScriptedCamera&) = delete;

  // Hands a reply's bytes to the PC end when they have crossed the wire.
  std::function<void(const Bytes&)> deliver;

  // Identity and line.
  uint8_t address = 1;
  int baud = 9600;
  uint8_t protocolCode = kProtocolPelcoD;

  // Settings: value of every item (defaults of the panel at start) and the ID text.
  std::map<uint8_t, uint8_t> values;
  std::array<uint8_t, kIdLength> idText{};
  // Items whose value the camera keeps whatever is written (answering with it).
  std::map<uint8_t, uint8_t> keeps;

  // Behaviour.
  bool silent = false;
  VirtualUs turnaround = Ms(5);  // from the request's last byte to the reply's first
  // Splits each reply into parts of these sizes (the rest goes last), partGap apart.
  std::vector<size_t> replyParts;
  VirtualUs partGap = Ms(50);
  // Sees every request; a value replaces the built-in answer (empty: silence).
  std::function<std::optional<Bytes>(const Bytes& request)> script;

  // Every complete frame heard.
  std::vector<HeardFrame> heard;
  // Frames heard with that command (and item, unless 0).
  size_t Heard(uint8_t command, uint8_t item = 0) const;

  // The built-in answer to a request, or an empty vector.
  Bytes Answer(const Bytes& request);
  // Sends bytes towards the PC as a reply would go (after the turnaround).
  void Reply(const Bytes& bytes);

 private:
  void Hear(uint8_t byte, int lineBaud);

  VirtualClock& clock_;
  FakePort& port_;
  Bytes assembling_;
  std::vector<VirtualClock::EventId> sends_;
};

// A reply frame as bytes.
std::vector<uint8_t> ReplyBytes(uint8_t address, uint8_t code, uint8_t byte5 = 0, uint8_t byte6 = 0,
                                uint8_t byte7 = 0);
