// Write Camera with the settings of a file, to one camera or a list.
#include <ctime>
#include <optional>

#include "cli/camera_writer.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/port_problem.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "settings/multi_write_report.h"
#include "settings/settings_file_io.h"

namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// "6 refused GAIN; not written: SYNC, GAMMA", "7 stopped at BLC; not
// written: WHITE BAL, ...", "3 ok; fixed: SYNC ---".
std::string OutcomeLine(const CameraOutcome& outcome) {
  std::string line = std::to_string(outcome.address) + " " + ResultName(outcome.result);
  for (const std::string& item : outcome.items) line += " " + item;
  // A refused write stops at the item it names.
  if (!outcome.stoppedAt.empty() && outcome.result != CameraOutcome::Result::Refused)
    line += " at " + outcome.stoppedAt;
  if (!outcome.notWritten.empty()) line += "; not written: " + Joined(outcome.notWritten);
  if (!outcome.notes.empty()) line += "; fixed: " + Joined(outcome.notes);
  return line;
}

Json OutcomeJson(const CameraOutcome& outcome) {
  Json json = {{"address", outcome.address}, {"result", ResultName(outcome.result)}};
  if (!outcome.items.empty()) json["items"] = outcome.items;
  if (!outcome.stoppedAt.empty()) json["stopped_at"] = outcome.stoppedAt;
  if (!outcome.notWritten.empty()) json["not_written"] = outcome.notWritten;
  if (!outcome.notes.empty()) json["notes"] = outcome.notes;
  return json;
}

// The report as the window's Save Report writes it; false after saying why not.
bool SaveReport(const std::string& path, const MultiWriteReportRun& run,
                const std::vector<MultiWriteResult>& rows) {
  const FileOutcome saved = ReplaceFile(path, MultiWriteReportText(run, rows));
  if (!saved.ok) Complain("can not save the report \"" + path + "\": " + saved.reason);
  return saved.ok;
}

}  // namespace

int RunWrite(CameraLine& line, const LineOptions& options, const SettingsValues& values,
             const std::vector<uint8_t>& addresses, bool verify, const WriteReportFile& report) {
  const MultiWriteReportRun run{
      std::time(nullptr), options.port, options.baud, report.settingsFile, {}};
  std::vector<MultiWriteResult> rows;
  const std::vector<CameraOutcome> outcomes = WriteCameras(line, values, addresses, verify, &rows);
  return ReportWrite(line, options, outcomes, rows, report.path, run);
}

int ReportWrite(CameraLine& line, const LineOptions& options,
                const std::vector<CameraOutcome>& outcomes,
                const std::vector<MultiWriteResult>& rows, const std::string& reportPath,
                const MultiWriteReportRun& run) {
  std::string text;
  Json results = Json::array();
  bool allOk = !outcomes.empty();
  std::optional<LineLoss> loss;
  for (const CameraOutcome& outcome : outcomes) {
    text += (text.empty() ? "" : "\n") + OutcomeLine(outcome);
    results.push_back(OutcomeJson(outcome));
    allOk = allOk && outcome.result == CameraOutcome::Result::Ok;
    if (outcome.result == CameraOutcome::Result::LineLost) {
      loss = LineLoss{static_cast<uint8_t>(outcome.address), line.Session().Port().BaudRate()};
    }
  }
  // The report tells what happened, a lost line included.
  const bool reported = reportPath.empty() || SaveReport(reportPath, run, rows);
  Json document{{"results", results}};
  // The port's device went: the run failed with the port, whatever the rows say.
  const bool gone = loss || line.Session().Port().Gone();
  if (gone) document["line_lost"] = LineLostJson(loss ? &*loss : nullptr);
  PrintResult(options.json, text, document);
  if (gone) {
    Complain(LineLostProblem(loss ? &*loss : nullptr));
    return kExitPort;
  }
  if (!allOk && !StopRequested()) Complain("not every camera is ok");
  if (!allOk) return kExitCameraFailed;
  return reported ? kExitDone : kExitOutput;
}
