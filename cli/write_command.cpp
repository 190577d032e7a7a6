// Write Camera with the settings of a file, to one camera or a list.
#include <optional>

#include "cli/camera_writer.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/port_problem.h"
#include "cli/result_output.h"

namespace {

std::string OutcomeLine(const CameraOutcome& outcome) {
  std::string line = std::to_string(outcome.address) + " " + ResultName(outcome.result);
  for (const std::string& item : outcome.items) line += " " + item;
  return line;
}

Json OutcomeJson(const CameraOutcome& outcome) {
  Json json = {{"address", outcome.address}, {"result", ResultName(outcome.result)}};
  if (!outcome.items.empty()) json["items"] = outcome.items;
  return json;
}

}  // namespace

int RunWrite(CameraLine& line, const LineOptions& options, const SettingsValues& values,
             const std::vector<uint8_t>& addresses, bool verify) {
  const std::vector<CameraOutcome> outcomes = WriteCameras(line, values, addresses, verify);
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
  Json document{{"results", results}};
  // The port's device went: the run failed with the port, whatever the rows say.
  const bool gone = loss || line.Session().Port().Gone();
  if (gone) document["line_lost"] = LineLostJson(loss ? &*loss : nullptr);
  PrintResult(options.json, text, document);
  if (gone) {
    Complain(LineLostProblem(loss ? &*loss : nullptr));
    return kExitPort;
  }
  return allOk ? kExitDone : kExitCameraFailed;
}
