// The simulated camera as a whole, driven by bytes and a clock from outside:
// it receives frames, answers the settings protocol, obeys PTZ frames, and
// hands back the bytes that are due on the line. It never reads a clock or
// touches a descriptor itself, so it runs the same on a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/line_splitter.h"
#include "sim/camera_config.h"
#include "sim/camera_model.h"
#include "sim/osd_menu.h"
#include "sim/output_queue.h"
#include "sim/trace.h"

class CameraSim {
 public:
  CameraSim(const TCameraConfig& config, const SimTrace& trace);

  // Bytes that arrived at `nowUs` while the line ran at `lineBaud`. The camera
  // only understands bytes sent at its own rate.
  void OnBytes(const uint8_t* data, size_t count, int lineBaud, int64_t nowUs);
  // Lets time pass: drops a partial frame after 200 ms.
  void OnTime(int64_t nowUs);
  // When OnTime or TakeDueBytes next has work; -1 when only new bytes can bring any.
  int64_t NextDeadline() const;
  // Bytes due on the line by `nowUs`.
  std::vector<uint8_t> TakeDueBytes(int64_t nowUs);

  const CameraModel& Model() const { return model_; }
  const OsdMenu& Menu() const { return menu_; }
  long Replies() const { return replies_; }

 private:
  void Handle(const LinePiece& piece, int64_t nowUs);
  void HandleCommand(const std::vector<uint8_t>& frame, int64_t nowUs);
  void HandlePtz(const std::vector<uint8_t>& frame, int64_t nowUs);
  void Reply(const std::vector<uint8_t>& request, int64_t nowUs);

  TCameraConfig config_;
  const SimTrace& trace_;
  CameraModel model_;
  OsdMenu menu_;
  LineSplitter receiver_;
  OutputQueue output_;
  long replies_ = 0;
  // With line timing: when the last byte from the tool has crossed the line.
  int64_t rxBusyUntilUs_ = 0;
};
