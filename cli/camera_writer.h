// Write Camera to one camera after another, each read back and compared, by
// the link's Write to Several Cameras. WriteCameras is the one place a writer
// for many cameras plugs in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/camera_line.h"
#include "link/multi_write.h"
#include "settings/settings_reader.h"

struct CameraOutcome {
  enum class Result { Ok, Differs, NoAnswer, Refused, Stopped, LineLost };
  int address = 0;
  Result result = Result::Ok;
  std::vector<std::string> items;  // the items' status words: what differs, or what was refused
  // A write cut short: where it stopped ("read-back" once the write was
  // whole) and what it never wrote; empty when it was not cut.
  std::string stoppedAt;
  std::vector<std::string> notWritten;
  std::vector<std::string> notes;  // "SYNC ---": states the camera holds of its own
};

// "ok", "differs", "no answer", "refused", "stopped", "line lost".
std::string ResultName(CameraOutcome::Result result);

// A row of the link's writer as the tool reports it, from the row's values.
CameraOutcome OutcomeOf(const MultiWriteResult& row);

// Writes `values` to each address in turn; with `verify` reads each back and
// compares. One outcome per address: when asked to stop, the camera in hand
// and those not reached are "stopped"; when the port's device goes, the camera
// in hand is "line lost". `report`, when given, gets the link's rows as they
// came, for the report.
std::vector<CameraOutcome> WriteCameras(CameraLine& line, const SettingsValues& values,
                                        const std::vector<uint8_t>& addresses, bool verify,
                                        std::vector<MultiWriteResult>* report = nullptr);
// Restore Line: `values[i]` to `addresses[i]`, each camera its own settings,
// with the same rows; the user's panel stays as it is.
std::vector<CameraOutcome> WriteCameras(CameraLine& line, const std::vector<SettingsValues>& values,
                                        const std::vector<uint8_t>& addresses, bool verify,
                                        std::vector<MultiWriteResult>* report = nullptr);
