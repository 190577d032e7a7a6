// The driver queries the serial layer decides on: output queue, line status,
// modem lines and the driver's serial flags. The kernel answers them; tests
// and the benchmark put scripted drivers in its place to play adapters that a
// pseudo-terminal cannot (a lagging transmitter flag, a failing USB request).
// Each call returns 0 or an errno value; ENOTTY means the driver has no such
// query.
#pragma once

#include <memory>

// The driver's port type and flags (TIOCGSERIAL).
struct SerialInfo {
  int type = 0;  // PORT_UNKNOWN for drivers outside serial_core (USB adapters)
  int flags = 0;
};

class SerialDriver {
 public:
  virtual ~SerialDriver() = default;
  // Bytes not yet sent (TIOCOUTQ).
  virtual int OutputQueue(int fd, int& bytes);
  // Line status register (TIOCSERGETLSR): TIOCSER_TEMT once the transmitter is empty.
  virtual int LineStatus(int fd, unsigned& lsr);
  // TIOCM_* bits of the modem lines (TIOCMGET).
  virtual int ModemLines(int fd, int& lines);
  virtual int GetSerialInfo(int fd, SerialInfo& info);
  // Replaces the flags of TIOCGSERIAL (TIOCSSERIAL).
  virtual int SetSerialFlags(int fd, int flags);
};

// The kernel's answers; shared by every device that is given no other driver.
std::shared_ptr<SerialDriver> KernelSerialDriver();
