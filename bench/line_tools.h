// The installer's tools on a line of cameras: Find Cameras (the link's
// LineScan), Write to Several Cameras (the link's MultiWrite) and Back Up
// Line (the link's LineBackup, the files left out), each timed
// beside the line time it cannot beat.
#pragma once

#include <cstdint>
#include <vector>

#include "bench/bench_report.h"
#include "headless/link_session.h"

// Scans addresses 1-199 at `baud` on an idle, linked session; `expected`
// cameras must be found for the figure to count as completed. The limit is
// the line's floor (LineScan::FloorMs).
ToolFigures MeasureFindCameras(LinkSession& link, int baud, int expected);

// Writes the session's panel to each address with read-back. The limit is
// per camera one Write Camera and one Read Camera at their line-time limits.
ToolFigures MeasureMultiWrite(LinkSession& link, int baud, const std::vector<uint8_t>& addresses,
                              double writeLimitMs, double readLimitMs);

// Reads each address into a scratch panel, as Back Up Line does. The limit
// is one Read Camera at its line-time limit a camera.
ToolFigures MeasureLineBackup(LinkSession& link, int baud, const std::vector<uint8_t>& addresses,
                              double readLimitMs);
