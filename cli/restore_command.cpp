// Restore Line: each camera written from its own file in the line book, read
// back and compared, with the rows and exit statuses of write.
#include <ctime>

#include "cli/camera_writer.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/result_output.h"
#include "cli/settings_load.h"
#include "settings/line_book.h"

std::optional<RestorePlan> PlanRestore(const std::string& folder,
                                       const std::vector<uint8_t>& listed) {
  LineBook book(folder);
  if (const FileOutcome loaded = book.Load(false); !loaded.ok) {
    Complain("can not read the line book \"" + folder + "\": " + loaded.reason);
    return std::nullopt;
  }
  RestorePlan plan;
  plan.addresses = listed;
  if (plan.addresses.empty()) {
    for (const LineBookRow& row : book.Rows()) {
      if (!row.file.empty()) plan.addresses.push_back(row.address);
    }
    if (plan.addresses.empty()) {
      Complain("the line book \"" + folder + "\" holds no camera's file");
      return std::nullopt;
    }
  }
  for (const uint8_t address : plan.addresses) {
    const LineBookRow* row = book.Find(address);
    if (!row || row->file.empty()) {
      Complain("the line book holds no file of camera " + std::to_string(address));
      return std::nullopt;
    }
    // Every file is checked before anything is sent.
    const std::string path = book.PathOf(row->file);
    const std::optional<SettingsValues> values = LoadSettings(path);
    if (!values) return std::nullopt;
    plan.values.push_back(*values);
    plan.files.push_back(path);
  }
  return plan;
}

int RunRestore(CameraLine& line, const LineOptions& options, const RestorePlan& plan,
               const std::string& reportPath) {
  MultiWriteReportRun run;
  run.started = std::time(nullptr);
  run.port = options.port;
  run.baud = options.baud;
  run.rowFiles = plan.files;
  std::vector<MultiWriteResult> rows;
  const std::vector<CameraOutcome> outcomes =
      WriteCameras(line, plan.values, plan.addresses, true, &rows);
  return ReportWrite(line, options, outcomes, rows, reportPath, run);
}
