// Back Up Line: every camera of a list (or every camera a scan finds) read
// into a scratch panel and saved in the line book, one file a camera and its
// row in line.csv.
#include <ctime>

#include "cli/camera_reader.h"
#include "cli/camera_scan.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/port_problem.h"
#include "cli/protocol_names.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "link/address_list.h"
#include "settings/line_book.h"

namespace {

// "saved", "no answer", "stopped", "line lost", "not saved".
const char* ResultWord(LineBackupOutcome outcome, bool saved) {
  switch (outcome) {
    case LineBackupOutcome::Read:
      return saved ? "saved" : "not saved";
    case LineBackupOutcome::NoAnswer:
      return "no answer";
    case LineBackupOutcome::Stopped:
      return "stopped";
    case LineBackupOutcome::LineLost:
      return "line lost";
  }
  return "";
}

// Every camera at the line's rate, as Find Cameras finds them; nullopt after
// saying why none (the exit status in `status`).
std::optional<std::vector<uint8_t>> FoundCameras(CameraLine& line, const LineOptions& options,
                                                 int& status) {
  LineScanPlan plan;
  plan.speedCodes = {static_cast<uint8_t>(CodeOfBaud(options.baud))};
  plan.firstAddress = kFirstCameraAddress;
  plan.lastAddress = kLastCameraAddress;
  const ScanOutcome scan = ScanCameras(line, plan);
  status = kExitCameraFailed;
  if (scan.refused) {
    status = scan.refused;
    return std::nullopt;
  }
  if (scan.loss || line.Session().Port().Gone()) {
    const LineLoss* loss = scan.loss ? &*scan.loss : nullptr;
    Json document{{"cameras", Json::array()}, {"line_lost", LineLostJson(loss)}};
    if (options.json) PrintResult(true, {}, document);
    Complain(LineLostProblem(loss));
    status = kExitPort;
    return std::nullopt;
  }
  std::vector<uint8_t> addresses;
  for (const LineScanFind& find : scan.finds) {
    if (!find.remark.empty())
      Complain("two cameras answer at address " + std::to_string(find.address));
    addresses.push_back(find.address);
  }
  if (scan.stopped || StopRequested() || addresses.empty()) {
    if (!scan.stopped && !StopRequested()) Complain("no camera answered");
    if (options.json) PrintResult(true, {}, Json{{"cameras", Json::array()}});
    return std::nullopt;
  }
  return addresses;
}

}  // namespace

int RunBackup(CameraLine& line, const LineOptions& options, LineBook& book,
              const std::string& folder, const std::vector<uint8_t>& listed) {
  std::vector<uint8_t> addresses = listed;
  if (addresses.empty()) {
    int status = kExitDone;
    const auto found = FoundCameras(line, options, status);
    if (!found) return status;
    addresses = *found;
    line.Start();
  }
  std::string text;
  Json cameras = Json::array();
  bool allSaved = true;
  bool fileFailed = false;
  std::optional<LineLoss> loss;
  ReadCameras(
      line, addresses,
      [&](const LineBackupResult& row) {
        const LineBookRun run{options.baud, ProtocolName(options.protocol), std::time(nullptr)};
        FileOutcome saved{false, {}};
        if (row.outcome == LineBackupOutcome::Read) {
          saved = book.Save(row.address, *row.panel, line.State(), run);
        } else if (row.outcome == LineBackupOutcome::NoAnswer) {
          // The camera's row says it was silent; its file from before stays.
          if (const FileOutcome listedNow = book.NoAnswer(row.address, run); !listedNow.ok) {
            Complain("can not save the index: " + listedNow.reason);
            fileFailed = true;
          }
        }
        const std::string word = ResultWord(row.outcome, saved.ok);
        std::string said = std::to_string(row.address) + " " + word;
        Json camera = {{"address", row.address}, {"result", word}, {"ms", row.ms}};
        if (saved.ok) {
          said += " " + LineBookFileName(row.address);
          camera["file"] = LineBookFileName(row.address);
          camera["id"] = Latin1Text(row.panel->IdEditText());
        } else if (row.outcome == LineBackupOutcome::Read) {
          said += ": " + saved.reason;
          camera["reason"] = saved.reason;
          fileFailed = true;
        }
        text += (text.empty() ? "" : "\n") + said;
        cameras.push_back(camera);
        allSaved = allSaved && saved.ok;
      },
      loss);
  Json document{{"folder", folder}, {"cameras", cameras}};
  const bool gone = loss || line.Session().Port().Gone();
  if (gone) document["line_lost"] = LineLostJson(loss ? &*loss : nullptr);
  if (options.json || !text.empty()) PrintResult(options.json, text, document);
  if (gone) {
    Complain(LineLostProblem(loss ? &*loss : nullptr));
    return kExitPort;
  }
  if (fileFailed) return kExitOutput;
  if (!allSaved && !StopRequested()) Complain("not every camera was saved");
  return allSaved ? kExitDone : kExitCameraFailed;
}
