// zelta-cli: the window's camera commands for scripts, over the same engine,
// files and timings, with the port held as the window holds it.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>

#include "cli/address_list.h"
#include "cli/camera_line.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/protocol_names.h"
#include "cli/received_bytes.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "headless/parse_options.h"
#include "link/line_speeds.h"
#include "settings/settings_messages.h"

namespace {

struct Command {
  std::string readFile;
  std::string writeFile;
  std::string to;
  bool noVerify = false;
  DelayCodes delay;
  std::string button;
  double seconds = 0;
};

std::string SpeedList() {
  std::string list;
  for (size_t i = 0; i < kLineSpeedCount; ++i) {
    list += (i == 0                     ? ""
             : i + 1 == kLineSpeedCount ? " or "
                                        : ", ") +
            std::to_string(kLineSpeeds[i].bitsPerSecond);
  }
  return list;
}

std::vector<std::string> ProtocolNames() {
  std::vector<std::string> names;
  for (const auto& [name, code] : ProtocolCodes()) names.push_back(name);
  return names;
}

void DescribeLineOptions(CLI::App& app, LineOptions& o, std::string& protocol) {
  app.add_option("--port", o.port, "Com1, Com2 (as the window finds them) or a device path")
      ->capture_default_str();
  app.add_option("--baud", o.baud, "line speed: " + SpeedList())
      ->capture_default_str()
      ->check([](const std::string& text) {
        return CodeOfBaud(std::atoi(text.c_str())) < 0 ? "baud rate must be " + SpeedList()
                                                       : std::string();
      });
  app.add_option("--address", o.address, "camera address")
      ->capture_default_str()
      ->check(CLI::Range(kLowestAddress, kHighestAddress));
  app.add_option("--protocol", protocol, "PTZ protocol: pelco-p, pelco-d or ernitec")
      ->capture_default_str()
      ->check(CLI::IsMember(ProtocolNames()));
  app.add_flag("--json", o.json, "the result as one JSON document");
  app.add_flag("--quiet", o.quiet, "no progress on stderr");
}

// Loads a settings file as Open does: all or nothing, with its messages.
std::optional<SettingsValues> LoadSettings(const std::string& path) {
  std::vector<std::string> lines;
  const FileOutcome read = ReadFileLines(path, kSettingsFileLines, lines);
  if (!read.ok) {
    Complain(SettingsReadMessage(path, read));
    return std::nullopt;
  }
  SettingsValues values;
  SettingsFileError error;
  if (!CheckSettingsLines(lines, values, error)) {
    Complain(SettingsCheckMessage(error));
    return std::nullopt;
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  LineOptions options;
  Command c;
  CLI::App app("Reads, writes and steers CCTV cameras on a serial RS-485 line as ZELTA does.",
               "zelta-cli");
  app.require_subcommand(1);
  app.fallthrough();
  std::string protocol = ProtocolName(options.protocol);
  DescribeLineOptions(app, options, protocol);

  CLI::App* state = app.add_subcommand("state", "find the camera's address, speed and protocol");
  CLI::App* read = app.add_subcommand("read", "Read Camera; the settings file to FILE or stdout");
  read->add_option("FILE", c.readFile, "settings file to write");
  CLI::App* write = app.add_subcommand("write", "Write Camera with a settings file, read back");
  write->add_option("FILE", c.writeFile, "settings file to write to the camera")->required();
  write->add_option("--to", c.to, "camera addresses, e.g. 2-32,40 (default: --address)");
  write->add_flag("--no-verify", c.noVerify, "do not read back and compare");
  CLI::App* delay = app.add_subcommand("delay", "the image delay codes");
  delay->require_subcommand(1);
  CLI::App* delayRead = delay->add_subcommand("read", "read both codes");
  CLI::App* delayWrite = delay->add_subcommand("write", "write both codes");
  const int delayCodes = static_cast<int>(ListEntries(PanelControl::ColToWbComboBox).size());
  delayWrite->add_option("COL", c.delay.colToWb, "colour to black-and-white delay code")
      ->required()
      ->check(CLI::Range(0, delayCodes - 1));
  delayWrite->add_option("WB", c.delay.wbToCol, "black-and-white to colour delay code")
      ->required()
      ->check(CLI::Range(0, delayCodes - 1));
  CLI::App* ptz = app.add_subcommand("ptz", "press one PTZ button of the window");
  ptz->add_option("BUTTON", c.button, "up, down, left, right, select, osd, color, wb or speed")
      ->required()
      ->check(CLI::IsMember(PtzButtonNames()));
  CLI::App* monitor = app.add_subcommand("monitor", "print every frame received");
  monitor->add_option("--seconds", c.seconds, "stop after N seconds (default: at Ctrl+C)")
      ->check(CLI::NonNegativeNumber);
  CLI::App* scan = app.add_subcommand("scan", "find every camera on the line");
  if (const auto status = ParseOptions(app, argc, argv)) return *status;
  options.protocol = ProtocolCodes().at(protocol);

  if (scan->parsed()) {
    Complain("scan is not available yet");
    return kExitUsage;
  }
  std::optional<SettingsValues> values;
  std::vector<uint8_t> addresses = {static_cast<uint8_t>(options.address)};
  if (write->parsed()) {
    if (!c.to.empty()) {
      const auto list = ParseAddressList(c.to);
      if (!list) {
        Complain("--to: addresses 1..199, e.g. 2-32,40");
        return kExitUsage;
      }
      addresses = *list;
    }
    if (!(values = LoadSettings(c.writeFile))) return kExitUsage;
  }

  InstallStopSignals();
  std::unique_ptr<ReceivedBytes> received;
  LinkSession::PortWrap wrap;
  if (monitor->parsed()) {
    wrap = [&](LinkPort& inner) -> LinkPort& {
      received = std::make_unique<ReceivedBytes>(inner);
      return *received;
    };
  }
  CameraLine line(options, wrap);
  if (const std::string problem = line.Open(); !problem.empty()) {
    Complain(problem);
    return kExitPort;
  }
  line.Start();
  const int status = [&] {
    if (state->parsed()) return RunState(line, options);
    if (read->parsed()) return RunRead(line, options, c.readFile);
    if (write->parsed()) return RunWrite(line, options, *values, addresses, !c.noVerify);
    if (delayRead->parsed()) return RunDelay(line, options, std::nullopt);
    if (delayWrite->parsed()) return RunDelay(line, options, c.delay);
    if (ptz->parsed()) return RunPtz(line, options, c.button);
    return RunMonitor(line, options, *received, c.seconds);
  }();
  // A monitor ends this way; anything else was cut short.
  if (StopRequested() && !monitor->parsed()) Complain("stopped");
  return status;
}
