// One PTZ button of the window, and the frames it put on the line.
#include <map>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/result_output.h"
#include "link/ptz_buttons.h"

namespace {

const std::map<std::string, PtzButton>& Buttons() {
  static const std::map<std::string, PtzButton> buttons = {
      {"up", PtzButton::Up},        {"down", PtzButton::Down},      {"left", PtzButton::Left},
      {"right", PtzButton::Right},  {"select", PtzButton::Select},  {"osd", PtzButton::OsdOn},
      {"color", PtzButton::Colour}, {"wb", PtzButton::WhiteBalance}};
  return buttons;
}

}  // namespace

std::vector<std::string> PtzButtonNames() {
  std::vector<std::string> names;
  for (const auto& [name, button] : Buttons()) names.push_back(name);
  names.push_back("speed");
  return names;
}

int RunPtz(CameraLine& line, const LineOptions& options, const std::string& name) {
  const uint8_t address = static_cast<uint8_t>(options.address);
  if (!line.Connect(address)) {
    Complain("no answer from camera " + std::to_string(options.address));
    return kExitCameraFailed;
  }
  TimedPort& port = line.Session().Port();
  port.FlushFrame();
  const size_t first = port.frames.size();
  QamProtocol& engine = line.Engine();
  if (name == "speed") {
    engine.ProtocolSpeedClick();
  } else {
    PtzButtonClick(engine, line.Window(), address, Buttons().at(name));
  }
  // No PTZ frame is answered: the next poll's answer shows that every frame
  // (and the speed sweep) has left the line and the camera is still there.
  const long before = line.Session().AcceptedReplies();
  if (!line.RunUntil([&] {
        return engine.ProtocolSpeedStep == QamProtocol::kSweepIdle &&
               line.Session().AcceptedReplies() > before;
      })) {
    Complain("camera " + std::to_string(options.address) + " stopped answering");
    return kExitCameraFailed;
  }
  port.FlushFrame();
  // The frames before the poll that confirmed them.
  std::string text;
  Json frames = Json::array();
  for (size_t i = first; i + 1 < port.frames.size(); ++i) {
    const std::string hex = FrameHex(port.frames[i].bytes);
    text += (text.empty() ? "" : "\n") + hex;
    frames.push_back(hex);
  }
  PrintResult(options.json, text, Json{{"button", name}, {"frames", frames}});
  return kExitDone;
}
