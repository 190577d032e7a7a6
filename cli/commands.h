// The commands of zelta-cli, each what the window does for one button or
// menu entry. Each runs on an open, started line and returns the exit status.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/camera_line.h"
#include "cli/camera_writer.h"
#include "cli/line_options.h"
#include "settings/multi_write_report.h"

class LineBytes;
// The line must have been made with `lineBytes` between the engine and the
// port (also for ptz and monitor).
int RunState(CameraLine& line, const LineOptions& options, LineBytes& lineBytes);
// `file` empty: the settings go to stdout.
int RunRead(CameraLine& line, const LineOptions& options, const std::string& file);
// Where a write's CSV report goes (no path: none), and the settings file it names.
struct WriteReportFile {
  std::string path;
  std::string settingsFile;
};
int RunWrite(CameraLine& line, const LineOptions& options, const SettingsValues& values,
             const std::vector<uint8_t>& addresses, bool verify,
             const WriteReportFile& report = {});
// Write's rows, document, report and exit status for the outcomes of a
// write (or a restore); `reportPath` empty: no report.
int ReportWrite(CameraLine& line, const LineOptions& options,
                const std::vector<CameraOutcome>& outcomes,
                const std::vector<MultiWriteResult>& rows, const std::string& reportPath,
                const MultiWriteReportRun& run);
// Back Up Line into `book`, loaded from `folder`: the cameras `listed`, or
// when none, every camera a scan at the line's rate finds (on a line whose
// engine is not started yet). Exit 0 when every camera was saved.
class LineBook;
int RunBackup(CameraLine& line, const LineOptions& options, LineBook& book,
              const std::string& folder, const std::vector<uint8_t>& listed);
// What a restore writes, every file checked before the port is opened.
struct RestorePlan {
  std::vector<uint8_t> addresses;
  std::vector<SettingsValues> values;  // one for each address
  std::vector<std::string> files;      // the file of each, named in full
};
// `listed` empty: every camera with a file in the book. nullopt after a complaint.
std::optional<RestorePlan> PlanRestore(const std::string& folder,
                                       const std::vector<uint8_t>& listed);
int RunRestore(CameraLine& line, const LineOptions& options, const RestorePlan& plan,
               const std::string& reportPath);
// The camera at --address against a settings file: exit 0 when they agree,
// 1 when they differ (one line per differing item).
int RunDiff(CameraLine& line, const LineOptions& options, const SettingsValues& values);
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
