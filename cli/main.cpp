// zelta-cli: the window's camera commands for scripts, over the same engine,
// files and timings, with the port held as the window holds it.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>

#include "cli/camera_line.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/line_bytes.h"
#include "cli/protocol_names.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "headless/parse_options.h"
#include "link/address_list.h"
#include "link/line_scan.h"
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
  std::vector<int> bauds;
  int from = kFirstCameraAddress;
  int last = kLastCameraAddress;
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

// CLI11's check of a speed: empty when it is one of the table's.
std::string BaudProblem(const std::string& text) {
  return CodeOfBaud(std::atoi(text.c_str())) < 0 ? "baud rate must be " + SpeedList()
                                                 : std::string();
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
      ->check(BaudProblem);
  app.add_option("--address", o.address, "camera address")
      ->capture_default_str()
      ->check(CLI::Range(+kFirstCameraAddress, +kLastCameraAddress));
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

// The subcommands, so the run can ask which one was given.
struct Subcommands {
  CLI::App* state;
  CLI::App* read;
  CLI::App* write;
  CLI::App* delayRead;
  CLI::App* delayWrite;
  CLI::App* ptz;
  CLI::App* monitor;
  CLI::App* scan;
};

CLI::App* DescribeWrite(CLI::App& app, Command& c) {
  CLI::App* write = app.add_subcommand("write", "Write Camera with a settings file, read back");
  write->add_option("FILE", c.writeFile, "settings file to write to the camera")->required();
  write->add_option("--to", c.to, "camera addresses, e.g. 2-32,40 (default: --address)");
  write->add_flag("--no-verify", c.noVerify, "do not read back and compare");
  write->footer(
      "One line per camera: \"3 ok\", \"4 differs SHUTTER ID.\", \"5 no answer\",\n\"6 refused "
      "SHUTTER\", \"7 stopped\" or \"8 line lost\". Exit status 0 when every camera is ok,\n3 when "
      "the line was lost, else 1.");
  return write;
}

CLI::App* DescribeDelay(CLI::App& app, Command& c, CLI::App*& delayRead) {
  CLI::App* delay = app.add_subcommand("delay", "the image delay codes");
  delay->require_subcommand(1);
  delayRead = delay->add_subcommand("read", "read both codes");
  CLI::App* delayWrite = delay->add_subcommand("write", "write both codes");
  const int delayCodes = static_cast<int>(ListEntries(PanelControl::ColToWbComboBox).size());
  delayWrite->add_option("COL", c.delay.colToWb, "colour to black-and-white delay code")
      ->required()
      ->check(CLI::Range(0, delayCodes - 1));
  delayWrite->add_option("WB", c.delay.wbToCol, "black-and-white to colour delay code")
      ->required()
      ->check(CLI::Range(0, delayCodes - 1));
  return delayWrite;
}

CLI::App* DescribeScan(CLI::App& app, Command& c) {
  CLI::App* scan = app.add_subcommand("scan", "find every camera on the line");
  scan->footer(
      "One line per camera: its address and speed, and \"" + std::string(kDuplicateAddressRemark) +
      "\" where two answer at once.\nExit status 0 when the scan ran to the end and found "
      "cameras, 1 when nothing answered,\nan address had two cameras or the scan was stopped "
      "(what it found is printed),\n3 when the line was lost.");
  scan->add_option("--bauds", c.bauds, "speeds to try, e.g. 1200,9600 (default: all)")
      ->delimiter(',')
      ->check(BaudProblem);
  scan->add_option("--from", c.from, "first address")
      ->capture_default_str()
      ->check(CLI::Range(+kFirstCameraAddress, +kLastCameraAddress));
  scan->add_option("--to", c.last, "last address")
      ->capture_default_str()
      ->check(CLI::Range(+kFirstCameraAddress, +kLastCameraAddress));
  return scan;
}

Subcommands DescribeCommands(CLI::App& app, Command& c) {
  Subcommands s{};
  s.state = app.add_subcommand("state", "find the camera's address, speed and protocol");
  s.read = app.add_subcommand("read", "Read Camera; the settings file to FILE or stdout");
  s.read->add_option("FILE", c.readFile, "settings file to write");
  s.write = DescribeWrite(app, c);
  s.delayWrite = DescribeDelay(app, c, s.delayRead);
  s.ptz = app.add_subcommand("ptz", "press one PTZ button of the window");
  s.ptz->add_option("BUTTON", c.button, "up, down, left, right, select, osd, color, wb or speed")
      ->required()
      ->check(CLI::IsMember(PtzButtonNames()));
  s.monitor =
      app.add_subcommand("monitor", "print every frame on the line: polls sent, replies received");
  s.monitor->add_option("--seconds", c.seconds, "stop after N seconds (default: at Ctrl+C)")
      ->check(CLI::NonNegativeNumber);
  s.scan = DescribeScan(app, c);
  return s;
}

// The scan's plan from its options; nullopt after a usage complaint.
std::optional<LineScanPlan> ScanPlan(const Command& c) {
  if (c.from > c.last) {
    Complain("--from " + std::to_string(c.from) + " is past --to " + std::to_string(c.last));
    return std::nullopt;
  }
  LineScanPlan plan;
  plan.firstAddress = static_cast<uint8_t>(c.from);
  plan.lastAddress = static_cast<uint8_t>(c.last);
  if (!c.bauds.empty()) plan.speedCodes.clear();
  for (const int baud : c.bauds) plan.speedCodes.push_back(static_cast<uint8_t>(CodeOfBaud(baud)));
  return plan;
}

// The cameras a write goes to; empty after a usage complaint.
std::vector<uint8_t> WriteAddresses(const Command& c, const LineOptions& options) {
  if (c.to.empty()) return {static_cast<uint8_t>(options.address)};
  AddressList list = ParseAddressList(c.to);
  if (!list.error.empty()) Complain("--to: " + list.error);
  return std::move(list.addresses);
}

// What the run needs besides the line, checked before the port is opened.
struct Prepared {
  LineScanPlan plan;
  std::vector<uint8_t> addresses;
  std::optional<SettingsValues> values;
};

std::optional<Prepared> Prepare(const Subcommands& s, const Command& c,
                                const LineOptions& options) {
  Prepared p;
  if (s.scan->parsed()) {
    const auto plan = ScanPlan(c);
    if (!plan) return std::nullopt;
    p.plan = *plan;
  }
  if (s.write->parsed()) {
    p.addresses = WriteAddresses(c, options);
    if (p.addresses.empty() || !(p.values = LoadSettings(c.writeFile))) return std::nullopt;
  }
  return p;
}

int RunCommand(const Subcommands& s, const Command& c, const LineOptions& options,
               const Prepared& p) {
  std::unique_ptr<LineBytes> lineBytes;
  LinkSession::PortWrap wrap;
  if (s.monitor->parsed()) {
    wrap = [&](LinkPort& inner) -> LinkPort& {
      lineBytes = std::make_unique<LineBytes>(inner);
      return *lineBytes;
    };
  }
  CameraLine line(options, wrap);
  if (const std::string problem = line.Open(); !problem.empty()) {
    Complain(problem);
    return kExitPort;
  }
  // A scan polls by itself: the engine's first poll would only cross its own.
  if (!s.scan->parsed()) line.Start();
  if (s.scan->parsed()) return RunScan(line, options, p.plan);
  if (s.state->parsed()) return RunState(line, options);
  if (s.read->parsed()) return RunRead(line, options, c.readFile);
  if (s.write->parsed()) return RunWrite(line, options, *p.values, p.addresses, !c.noVerify);
  if (s.delayRead->parsed()) return RunDelay(line, options, std::nullopt);
  if (s.delayWrite->parsed()) return RunDelay(line, options, c.delay);
  if (s.ptz->parsed()) return RunPtz(line, options, c.button);
  return RunMonitor(line, options, *lineBytes, c.seconds);
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
  const Subcommands commands = DescribeCommands(app, c);
  if (const auto status = ParseOptions(app, argc, argv)) return *status;
  options.protocol = ProtocolCodes().at(protocol);

  const std::optional<Prepared> prepared = Prepare(commands, c, options);
  if (!prepared) return kExitUsage;
  InstallStopSignals();
  const int status = RunCommand(commands, c, options, *prepared);
  // A monitor ends this way; anything else was cut short.
  if (StopRequested() && !commands.monitor->parsed()) Complain("stopped");
  return status;
}
