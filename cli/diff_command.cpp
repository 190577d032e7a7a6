// Compare with Camera: the camera at --address read into a scratch panel
// and set beside a settings file, item by item, as the restore's read-back
// compares.
#include "cli/camera_reader.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/port_problem.h"
#include "cli/result_output.h"
#include "link/item_comparison.h"
#include "link/memory_panel.h"

namespace {

// The ID text without the blanks that pad it, in quotes: its words stay one.
std::string Quoted(std::string id) {
  id.erase(id.find_last_not_of(' ') + 1);
  return "\"" + id + "\"";
}

}  // namespace

int RunDiff(CameraLine& line, const LineOptions& options, const SettingsValues& values) {
  const auto address = static_cast<uint8_t>(options.address);
  MemoryPanel camera;
  LineBackupOutcome outcome = LineBackupOutcome::Stopped;
  std::optional<LineLoss> loss;
  ReadCameras(
      line, {address},
      [&](const LineBackupResult& row) {
        outcome = row.outcome;
        if (row.outcome == LineBackupOutcome::Read) CopyPanel(*row.panel, camera);
      },
      loss);
  if (loss || line.Session().Port().Gone()) {
    const LineLoss* where = loss ? &*loss : nullptr;
    if (options.json) PrintResult(true, {}, Json{{"line_lost", LineLostJson(where)}});
    Complain(LineLostProblem(where));
    return kExitPort;
  }
  if (outcome != LineBackupOutcome::Read) {
    if (outcome == LineBackupOutcome::NoAnswer) {
      Complain("no answer from camera " + std::to_string(address));
    }
    if (options.json) PrintResult(true, {}, Json::object());
    return kExitCameraFailed;
  }
  MemoryPanel wanted;
  CameraLinkState scratch = line.State();
  ApplySettings(values, wanted, scratch);
  std::string text;
  Json items = Json::array();
  bool differ = false;
  for (const ItemComparison& item : CompareItems(wanted, camera)) {
    const bool id = item.item == kItemId;
    Json json = {{"item", item.name},
                 {"file", Latin1Text(item.wanted)},
                 {"camera", Latin1Text(item.camera)},
                 {"differs", item.differs}};
    if (item.fixedState) json["fixed"] = true;
    items.push_back(json);
    if (!item.differs) continue;
    differ = true;
    text += (text.empty() ? "" : "\n") + item.name + " file " +
            (id ? Quoted(item.wanted) : item.wanted) + " camera " +
            (id ? Quoted(item.camera) : item.camera);
  }
  if (options.json || !text.empty())
    PrintResult(options.json, text,
                Json{{"address", address}, {"agree", !differ}, {"items", items}});
  return differ ? kExitCameraFailed : kExitDone;
}
