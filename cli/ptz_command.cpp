// One PTZ button of the window, and the frames it put on the line. As in the
// window, the frames go out whenever the port is open: a dome that speaks
// only its PTZ protocol never answers the settings poll.
#include <map>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/line_bytes.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "link/camera_frames.h"
#include "link/ptz_buttons.h"

namespace {

const std::map<std::string, PtzButton>& Buttons() {
  static const std::map<std::string, PtzButton> buttons = {
      {"up", PtzButton::Up},        {"down", PtzButton::Down},      {"left", PtzButton::Left},
      {"right", PtzButton::Right},  {"select", PtzButton::Select},  {"osd", PtzButton::OsdOn},
      {"color", PtzButton::Colour}, {"wb", PtzButton::WhiteBalance}};
  return buttons;
}

// The engine's own poll, which is no frame of the button.
bool IsPoll(const std::vector<uint8_t>& bytes) {
  return bytes.size() == kFrameSize && bytes[kFrameLead] == kFrameStart &&
         bytes[kFrameCode] == kCmdPoll;
}

// A camera that answers has its first poll answered before the frames go, so
// they do not run into its reply; a silent one costs this wait once.
constexpr std::chrono::milliseconds kFirstAnswerWait{1000};

}  // namespace

std::vector<std::string> PtzButtonNames() {
  std::vector<std::string> names;
  for (const auto& [name, button] : Buttons()) names.push_back(name);
  names.push_back("speed");
  return names;
}

int RunPtz(CameraLine& line, const LineOptions& options, LineBytes& lineBytes,
           const std::string& name, bool check) {
  const uint8_t address = static_cast<uint8_t>(options.address);
  LinkSession& session = line.Session();
  if (check) {
    if (!line.ConnectOrSay(address)) return kExitCameraFailed;
  } else {
    line.RunUntil([&] { return session.Idle(); }, kFirstAnswerWait);
    if (StopRequested() || !line.RunUntil([&] { return lineBytes.RtsUp(); })) {
      return kExitCameraFailed;
    }
  }
  TimedPort& port = session.Port();
  port.FlushFrame();
  const size_t first = port.frames.size();
  const long started = port.FramesStarted();
  QamProtocol& engine = line.Engine();
  if (name == "speed") {
    engine.ProtocolSpeedClick();
  } else {
    PtzButtonClick(engine, line.Window(), address, Buttons().at(name));
  }
  // No PTZ frame is answered. The frames (and the speed sweep) have left
  // once RTS is up again; with --check the next poll's answer also shows the
  // camera is still there.
  const long before = session.AcceptedReplies();
  const bool done = line.RunUntil([&] {
    const bool sent = engine.ProtocolSpeedStep == QamProtocol::kSweepIdle &&
                      port.FramesStarted() > started && lineBytes.RtsUp();
    return sent && (!check || session.AcceptedReplies() > before);
  });
  if (!done) {
    if (check && !StopRequested()) {
      Complain("camera " + std::to_string(options.address) + " stopped answering");
    }
    return kExitCameraFailed;
  }
  port.FlushFrame();
  std::string text;
  Json frames = Json::array();
  for (size_t i = first; i < port.frames.size(); ++i) {
    if (IsPoll(port.frames[i].bytes)) continue;
    const std::string hex = FrameHex(port.frames[i].bytes);
    text += (text.empty() ? "" : "\n") + hex;
    frames.push_back(hex);
  }
  PrintResult(options.json, text, Json{{"button", name}, {"frames", frames}});
  return kExitDone;
}
