// Write Camera to one camera after another, each read back and compared.
// WriteCameras is the one place a writer for many cameras plugs in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/camera_line.h"
#include "settings/settings_reader.h"

struct CameraOutcome {
  enum class Result { Ok, Differs, NoAnswer, Refused };
  int address = 0;
  Result result = Result::Ok;
  std::vector<std::string> items;  // settings file keys: what differs, or the item refused
};

// "ok", "differs", "no answer", "refused".
std::string ResultName(CameraOutcome::Result result);

// Writes `values` to each address in turn; with `verify` reads each back and
// compares. Stops between cameras when asked to stop: the outcomes are those
// of the cameras done so far.
std::vector<CameraOutcome> WriteCameras(CameraLine& line, const SettingsValues& values,
                                        const std::vector<uint8_t>& addresses, bool verify);
