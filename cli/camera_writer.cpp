#include "cli/camera_writer.h"

#include "cli/stop_signal.h"
#include "link/camera_items.h"
#include "settings/settings_lines.h"
#include "settings/settings_writer.h"

namespace {

using Result = CameraOutcome::Result;

// The settings file key of an item.
std::string KeyOf(uint8_t item) {
  for (const SettingsLine& line : SettingsLines()) {
    if (line.item == item) return line.key;
  }
  return std::to_string(item);
}

bool IsDelayItem(uint8_t item) {
  return item == kItemColToWb || item == kItemWbToCol;
}

// A camera that keeps its own shutter (an auto-iris lens) shows it as IRIS,
// which a settings file line cannot tell from AUTO. SYNC shown as "---" is
// not counted: the window takes any write to such a camera as confirmed.
bool ShowsIris(const CameraPanel& panel) {
  return panel.Visible(PanelControl::ShutterIris);
}

// A line as the camera keeps it: an ID shorter than the camera's sixteen
// characters comes back padded with blanks.
std::string Kept(const std::string& line) {
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

// Keys of the lines Write Camera moves that differ between two files (the
// image delay lines are the delay dialog's, not Write Camera's).
std::vector<std::string> DifferingKeys(const std::string& expected, const std::string& actual,
                                       bool irisDiffers) {
  const std::vector<std::string> want = SplitSettingsLines(expected, kSettingsFileLines);
  const std::vector<std::string> got = SplitSettingsLines(actual, kSettingsFileLines);
  std::vector<std::string> keys;
  for (size_t i = 0; i < kSettingsValueLines; ++i) {
    const SettingsLine& line = SettingsLines()[i];
    if (IsDelayItem(line.item)) continue;
    if (i + 1 >= want.size() || i + 1 >= got.size() || Kept(want[i + 1]) != Kept(got[i + 1]) ||
        (line.item == kItemShutter && irisDiffers)) {
      keys.push_back(line.key);
    }
  }
  return keys;
}

// The item a refused write stopped at: the first one still pending.
std::string RefusedKey(const CameraLinkState& state) {
  for (const uint8_t item : kTransferOrder) {
    if (ItemIsPending(state, item)) return KeyOf(item);
  }
  return {};
}

// A transfer that did not finish: the camera fell silent, or it answers but
// will not take a value.
CameraOutcome Failed(CameraLine& line, int address) {
  if (!line.Answering()) return {address, Result::NoAnswer, {}};
  return {address, Result::Refused, {RefusedKey(line.State())}};
}

CameraOutcome WriteOne(CameraLine& line, const SettingsValues& values, uint8_t address,
                       bool verify) {
  if (!line.Connect(address)) return {address, Result::NoAnswer, {}};
  LinkSession& session = line.Session();
  ApplySettings(values, session.Panel(), line.State());
  const std::string expected = SettingsFileText(session.Panel(), line.State());
  const bool expectedIris = ShowsIris(session.Panel());
  line.Engine().WriteButtonClick();
  if (!line.RunTransfer()) return {address, Result::NoAnswer, {}};
  if (line.Window().mainStatus != "Finish") return Failed(line, address);
  if (!verify) return {address, Result::Ok, {}};
  line.Engine().ReadButtonClick();
  if (!line.RunTransfer() || line.Window().mainStatus != "Finish") {
    return {address, Result::NoAnswer, {}};
  }
  const std::vector<std::string> differing =
      DifferingKeys(expected, SettingsFileText(session.Panel(), line.State()),
                    ShowsIris(session.Panel()) != expectedIris);
  if (differing.empty()) return {address, Result::Ok, {}};
  return {address, Result::Differs, differing};
}

}  // namespace

std::string ResultName(Result result) {
  switch (result) {
    case Result::Ok:
      return "ok";
    case Result::Differs:
      return "differs";
    case Result::NoAnswer:
      return "no answer";
    case Result::Refused:
      return "refused";
  }
  return {};
}

std::vector<CameraOutcome> WriteCameras(CameraLine& line, const SettingsValues& values,
                                        const std::vector<uint8_t>& addresses, bool verify) {
  std::vector<CameraOutcome> outcomes;
  for (const uint8_t address : addresses) {
    if (StopRequested()) break;
    CameraOutcome outcome = WriteOne(line, values, address, verify);
    // A camera cut short by the stop is not done.
    if (StopRequested()) break;
    outcomes.push_back(std::move(outcome));
  }
  return outcomes;
}
