// Read Camera of one camera after another into scratch panels, by the link's
// LineBackup (as the window's Back Up Line): backup and diff read through it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "cli/camera_line.h"
#include "link/line_backup.h"

// Reads each address in turn on a started line; `each` gets every camera's
// row as it comes (the panel valid during the call). When asked to stop, the
// camera in hand and those not reached are Stopped; `loss` is set when the
// port's device went.
void ReadCameras(CameraLine& line, const std::vector<uint8_t>& addresses,
                 const std::function<void(const LineBackupResult&)>& each,
                 std::optional<LineLoss>& loss);
