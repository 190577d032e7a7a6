// Read Camera, then the panel as Save As writes it.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/result_output.h"
#include "settings/settings_file_io.h"
#include "settings/settings_lines.h"
#include "settings/settings_reader.h"
#include "settings/settings_writer.h"

namespace {

// One member per line of the file, named by its key: the ID as text, the
// others as numbers.
Json SettingsJson(const std::string& text) {
  const std::vector<std::string> lines = SplitSettingsLines(text, kSettingsFileLines);
  Json document = Json::object();
  for (size_t i = 0; i < kSettingsValueLines && i + 1 < lines.size(); ++i) {
    const SettingsLine& line = SettingsLines()[i];
    const std::string& fileLine = lines[i + 1];
    const std::string value = fileLine.substr(fileLine.find('&') + 1);
    if (line.item == kItemId) {
      document[line.key] = value;
    } else {
      document[line.key] = std::stoi(value);
    }
  }
  return document;
}

}  // namespace

int RunRead(CameraLine& line, const LineOptions& options, const std::string& file) {
  if (!line.Connect(static_cast<uint8_t>(options.address))) {
    Complain("no answer from camera " + std::to_string(options.address));
    return kExitCameraFailed;
  }
  line.Engine().ReadButtonClick();
  if (!line.RunTransfer()) return kExitCameraFailed;
  if (line.Window().mainStatus != "Finish") {
    Complain("camera " + std::to_string(options.address) + " stopped answering");
    return kExitCameraFailed;
  }
  const std::string text = SettingsFileText(line.Session().Panel(), line.State());
  if (options.json) {
    PrintResult(true, {}, SettingsJson(text));
  } else if (file.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  if (!file.empty()) {
    const FileOutcome written = ReplaceFile(file, text);
    if (!written.ok) {
      Complain("can not save the file \"" + file + "\": " + written.reason);
      return kExitUsage;
    }
  }
  return kExitDone;
}
