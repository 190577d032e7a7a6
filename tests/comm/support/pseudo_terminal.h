// A real pseudo-terminal for serial tests: the test holds the master side,
// the code under test opens the slave by its path.
#pragma once

#include <termios.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  // The far end: bytes written here arrive at the slave.
  void Write(const std::vector<uint8_t>& bytes);
  // Reads exactly count bytes, or what arrived until timeout.
  std::vector<uint8_t> Read(size_t count,
                            std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
  // Bytes that arrive within the time, without waiting for a count.
  std::vector<uint8_t> Drain(std::chrono::milliseconds timeout);
  // The slave's line settings as seen from the master side.
  termios SlaveTermios() const;
  void SetSlaveTermios(const termios& t);
  speed_t SlaveSpeed() const;
  // Hangs the slave up, as an unplugged adapter would.
  void CloseMaster();

 private:
  int master_ = -1;
  std::string slavePath_;
};
