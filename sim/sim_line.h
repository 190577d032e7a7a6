// The simulator's end of the line: a new pseudo-terminal (the tool opens its
// slave side) or a real serial port. It tells the line's current speed, which
// on a pseudo-terminal is whatever the program on the slave side has set.
#pragma once

#include <string>

class SimLine {
 public:
  SimLine() = default;
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;
  ~SimLine();
  // Closes the line and removes the link, as an adapter pulled out: the
  // program on the slave side sees it hang up. Open again afterwards.
  void Close();

  // Each returns an empty string on success, otherwise what went wrong.
  std::string OpenPty();
  // Opens and locks a serial port the way ZELTA does, raw 8N1 at `baud`.
  std::string OpenDevice(const std::string& path, int baud);
  // Makes `linkPath` a symbolic link to the pseudo-terminal's slave; a stale
  // link there is replaced, anything else is left alone and reported.
  std::string MakeLink(const std::string& linkPath);

  // The descriptor to read and write: the pty master or the device.
  int Fd() const { return fd_; }
  // The slave path of the pseudo-terminal, or the device path.
  const std::string& Path() const { return path_; }
  // Bits per second the line runs at now (0 when it cannot be read).
  int CurrentBaud() const;

 private:
  int fd_ = -1;
  int heldSlave_ = -1;  // keeps the pty alive while the tool closes and reopens it
  std::string path_;
  std::string link_;
};

// Bits per second of a termios speed constant, or 0.
int BaudOfSpeed(unsigned speed);
