// The commands of zelta-cli, each what the window does for one button or
// menu entry. Each runs on an open, started line and returns the exit status.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/camera_line.h"
#include "cli/line_options.h"

class LineBytes;
// The line must have been made with `lineBytes` between the engine and the
// port (also for ptz and monitor).
int RunState(CameraLine& line, const LineOptions& options, LineBytes& lineBytes);
// `file` empty: the settings go to stdout.
int RunRead(CameraLine& line, const LineOptions& options, const std::string& file);
struct SettingsValues;
// Where a write's CSV report goes (no path: none), and the settings file it names.
struct WriteReportFile {
  std::string path;
  std::string settingsFile;
};
int RunWrite(CameraLine& line, const LineOptions& options, const SettingsValues& values,
             const std::vector<uint8_t>& addresses, bool verify,
             const WriteReportFile& report = {});
// Without codes: read them.
struct DelayCodes {
  int colToWb = 0;
  int wbToCol = 0;
};
int RunDelay(CameraLine& line, const LineOptions& options, const std::optional<DelayCodes>& write);
// `check`: only for a camera that answers the settings poll, before and after.
int RunPtz(CameraLine& line, const LineOptions& options, LineBytes& lineBytes,
           const std::string& button, bool check);
// `seconds` 0: until stopped.
int RunMonitor(CameraLine& line, const LineOptions& options, LineBytes& lineBytes, double seconds);
// Find Cameras. Exit 0 only when it ran to the end, found a camera and no
// address with two; a stopped scan is left to the caller's stop status.
struct LineScanPlan;
int RunScan(CameraLine& line, const LineOptions& options, const LineScanPlan& plan);
// The names `ptz` takes.
std::vector<std::string> PtzButtonNames();
