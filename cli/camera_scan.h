// Find Cameras run to its end (or a stop), for scan and for a backup of
// every camera found.
#pragma once

#include <optional>
#include <vector>

#include "cli/camera_line.h"
#include "link/line_scan.h"

struct ScanOutcome {
  int refused = 0;  // the exit status when the scan could not start (said on stderr); else 0
  std::vector<LineScanFind> finds;
  bool finished = false;
  bool stopped = false;
  std::optional<LineLoss> loss;  // the port's device went mid-scan
};

// Runs the link's LineScan on a line whose engine has not been started.
ScanOutcome ScanCameras(CameraLine& line, const LineScanPlan& plan);
