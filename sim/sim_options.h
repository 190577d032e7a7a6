// The simulator's command line.
#pragma once

#include <string>
#include <vector>

#include "sim/camera_config.h"

struct TSimOptions {
  TCameraConfig camera;
  std::string device;              // a serial port to serve; empty: a new pseudo-terminal
  std::string link;                // symbolic link to create to the pseudo-terminal
  std::string traceFile;           // empty: the trace goes to standard output
  bool traceMicroseconds = false;  // stamps: the monotonic clock in microseconds
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name. Returns an empty string on
// success, otherwise the message that tells what is wrong.
std::string ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options);

// The text --help prints.
std::string SimHelpText();

// An item by code (0x09, 9) or by name (SHUTTER, "WHITE BAL", white-bal, Red,
// COL>BW): its code, or -1.
int ParseItemName(const std::string& text);
