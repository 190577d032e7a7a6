// The simulator's command line.
#pragma once

#include <string>
#include <vector>

#include "sim/camera_config.h"
#include "sim/option_values.h"

struct TSimOptions {
  // The line's settings and what every camera starts with.
  TCameraConfig camera;
  // The cameras on the line in address order, a duplicate next to its
  // original: one at camera.address unless --cameras lists several.
  std::vector<TCameraConfig> cameras;
  std::string device;              // a serial port to serve; empty: a new pseudo-terminal
  std::string link;                // symbolic link to create to the pseudo-terminal
  std::string traceFile;           // empty: the trace goes to standard output
  std::string stateDir;            // keeps each camera's settings between runs; empty: none
  bool traceMicroseconds = false;  // stamps: the monotonic clock in microseconds
  // The adapter pulled out after this many replies (-1: never), and plugged
  // in again this many ms later (-1: never): the pseudo-terminal closed and a
  // new one made behind the same link.
  long unplugAfter = -1;
  long replugAfterMs = -1;
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name. Returns an empty string on
// success, otherwise the message that tells what is wrong.
std::string ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options);

// The text --help prints.
std::string SimHelpText();
