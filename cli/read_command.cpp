// Read Camera, then the panel as Save As writes it.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/result_output.h"
#include "settings/settings_file_io.h"
#include "settings/settings_lines.h"
#include "settings/settings_reader.h"
#include "settings/settings_writer.h"

namespace {

// One member per line of the file, named by its key, the others as numbers.
// The ID is the text the camera reported (up to its first zero byte), and
// "ID. bytes" all sixteen bytes of its ID memory in hex.
Json SettingsJson(const std::string& text, const CameraPanel& panel, const CameraLinkState& state) {
  const std::vector<std::string> lines = SplitSettingsLines(text, kSettingsFileLines);
  Json document = Json::object();
  for (size_t i = 0; i < kSettingsValueLines && i + 1 < lines.size(); ++i) {
    const SettingsLine& line = SettingsLines()[i];
    if (line.item == kItemId) {
      document[line.key] = Latin1Text(panel.IdEditText());
      document[std::string(line.key) + " bytes"] =
          FrameHex(std::vector<uint8_t>(state.IdText, state.IdText + kIdLength));
      continue;
    }
    const std::string& fileLine = lines[i + 1];
    document[line.key] = std::strtol(fileLine.c_str() + fileLine.find('&') + 1, nullptr, 10);
  }
  return document;
}

}  // namespace

int RunRead(CameraLine& line, const LineOptions& options, const std::string& file) {
  if (!line.ConnectOrSay(static_cast<uint8_t>(options.address))) return kExitCameraFailed;
  line.Engine().ReadButtonClick();
  if (!line.RunTransfer()) return kExitCameraFailed;
  if (line.Engine().LastTransferEnd() != TransferEnd::Finished) {
    Complain("camera " + std::to_string(options.address) + " stopped answering");
    return kExitCameraFailed;
  }
  const CameraPanel& panel = line.Session().Panel();
  const std::string text = SettingsFileText(panel, line.State());
  if (!file.empty()) {
    const FileOutcome written = ReplaceFile(file, text);
    if (!written.ok) {
      Complain("can not save the file \"" + file + "\": " + written.reason);
      return kExitOutput;
    }
  }
  if (options.json) {
    PrintResult(true, {}, SettingsJson(text, panel, line.State()));
  } else if (file.empty()) {
    WriteOut(text);
  }
  return kExitDone;
}
