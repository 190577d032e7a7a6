// zelta-cli: the window's camera commands for scripts, over the same engine,
// files and timings, with the port held as the window holds it.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

#include "cli/camera_line.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/line_bytes.h"
#include "cli/port_problem.h"
#include "cli/protocol_names.h"
#include "cli/result_output.h"
#include "cli/settings_load.h"
#include "cli/stop_signal.h"
#include "comm/comm_error.h"
#include "link/address_list.h"
#include "link/line_scan.h"
#include "link/line_speeds.h"
#include "link/ptz_protocols.h"
#include "settings/line_book.h"
#include "settings/settings_file_io.h"
#include "settings/settings_messages.h"

namespace {

struct Command {
  std::string readFile;
  std::string writeFile;
  std::string to;
  std::optional<std::string> report;
  bool noVerify = false;
  DelayCodes delay;
  std::string button;
  bool ptzCheck = false;
  double seconds = 0;  // 0: until stopped
  std::vector<int> bauds;
  int from = kFirstCameraAddress;
  int last = kLastCameraAddress;
  std::string folder;  // backup, restore
  std::string diffFile;
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

// The longest watch --seconds takes: a day.
constexpr double kMostSeconds = 24 * 60 * 60;

// CLI11's check of --seconds: a time above nothing and up to a day (0, nan
// and a time beyond a day would never end or end at once).
std::string SecondsProblem(const std::string& text) {
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (end != text.c_str() && *end == '\0' && seconds >= 0.001 && seconds <= kMostSeconds) {
    return {};
  }
  return "must be from 0.001 to 86400 seconds (one day), not " + text;
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
  app.add_option("--protocol", protocol, "PTZ protocol: " + PtzCommandNameList())
      ->capture_default_str()
      ->check(CLI::IsMember(ProtocolNames()));
  app.add_flag("--json", o.json, "the result as one JSON document");
  app.add_flag("--quiet", o.quiet, "no progress on stderr");
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
  CLI::App* backup;
  CLI::App* restore;
  CLI::App* diff;
};

CLI::App* DescribeWrite(CLI::App& app, Command& c) {
  CLI::App* write = app.add_subcommand("write", "Write Camera with a settings file, read back");
  write->add_option("FILE", c.writeFile, "settings file to write to the camera")->required();
  write->add_option("--to", c.to, "camera addresses, e.g. 2-32,40 (default: --address)");
  write->add_flag("--no-verify", c.noVerify, "do not read back and compare");
  write->add_option("--report", c.report,
                    "also save the CSV report of Write to Several Cameras to this file");
  write->footer(
      "One line per camera: \"3 ok\", \"4 differs SHUTTER ID.\", \"5 no answer\",\n\"6 refused "
      "SHUTTER\", \"7 stopped\" or \"8 line lost\". --report saves the same rows as the window's\n"
      "Save Report, a CSV table. Exit status 0 when every camera is ok, 3 when the line was lost,\n"
      "4 when stopped, 5 when the report can not be saved, else 1. An empty --to and a dash\n"
      "right after a comma (\"1,-5\") are refused.");
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
      "cameras, 1 when nothing answered\nor an address had two cameras, 3 when the line was lost, "
      "4 when it was stopped\n(what it found is printed).");
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

void DescribeLineBook(CLI::App& app, Command& c, Subcommands& s) {
  s.backup = app.add_subcommand("backup", "Back Up Line: each camera's settings file into DIR");
  s.backup->add_option("DIR", c.folder, "the line's folder (made when missing)")->required();
  s.backup->add_option("--to", c.to,
                       "camera addresses, e.g. 1-8,17 (default: every camera a scan at --baud "
                       "finds)");
  s.backup->footer(
      "Each camera is read into a scratch panel and saved as File > Save As would save it,\n"
      "named by address (017.TXT); line.csv in DIR lists them. A camera read now replaces\n"
      "its own file and row only. One line per camera: \"17 saved 017.TXT\", \"18 no answer\".\n"
      "Exit status 0 when every camera was saved, 3 when the line was lost, 4 when stopped,\n"
      "5 when a file can not be saved, else 1.");
  s.restore = app.add_subcommand("restore", "Restore Line: each camera from its own file in DIR");
  s.restore->add_option("DIR", c.folder, "the line's folder, as backup left it")->required();
  s.restore->add_option("--to", c.to, "camera addresses (default: every camera in line.csv)");
  s.restore->add_option("--report", c.report,
                        "also save the CSV report of Write to Several Cameras to this file");
  s.restore->footer(
      "Each camera is written from its own file and read back, with the rows and exit\n"
      "statuses of write. Every file is checked before anything is sent.");
  s.diff = app.add_subcommand("diff", "Compare with Camera: the camera at --address against FILE");
  s.diff->add_option("FILE", c.diffFile, "settings file")->required();
  s.diff->footer(
      "One line per differing item: \"SHUTTER file 3 camera 5\". Exit status 0 when they agree,\n"
      "1 when they differ or the camera does not answer, 3 when the line was lost.");
}

Subcommands DescribeCommands(CLI::App& app, Command& c) {
  Subcommands s{};
  s.state = app.add_subcommand("state", "find the camera's address, speed and protocol");
  s.read = app.add_subcommand("read", "Read Camera; the settings file to FILE or stdout");
  s.read->add_option("FILE", c.readFile,
                     "settings file to write (checked before the camera is read)");
  s.read->footer(
      "ID bytes outside the ID character set (0xFF, CR, LF, \"&\") are saved as blanks, so the\n"
      "file always opens again; with --json \"ID.\" is the text as Latin-1 and \"ID. bytes\" the\n"
      "sixteen bytes in hex.");
  s.write = DescribeWrite(app, c);
  s.delayWrite = DescribeDelay(app, c, s.delayRead);
  s.ptz = app.add_subcommand("ptz", "press one PTZ button of the window");
  s.ptz->add_option("BUTTON", c.button, "up, down, left, right, select, osd, color, wb or speed")
      ->required()
      ->check(CLI::IsMember(PtzButtonNames()));
  s.ptz->add_flag("--check", c.ptzCheck,
                  "send only to a camera that answers the settings poll, and see it answer after");
  s.monitor =
      app.add_subcommand("monitor", "print every frame on the line: polls sent, replies received");
  s.monitor
      ->add_option("--seconds", c.seconds,
                   "stop after N seconds, 0.001 to 86400 (default: at Ctrl+C)")
      ->check(SecondsProblem);
  s.scan = DescribeScan(app, c);
  DescribeLineBook(app, c, s);
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

// The cameras a write goes to; empty after a usage complaint. `--to ""`
// names no camera: that is no reason to write the default one.
std::vector<uint8_t> WriteAddresses(const Command& c, const LineOptions& options, bool toGiven) {
  if (!toGiven) return {static_cast<uint8_t>(options.address)};
  AddressList list = ParseAddressList(c.to);
  if (!list.error.empty()) Complain("--to: " + list.error);
  return std::move(list.addresses);
}

// What the run needs besides the line, checked before the port is opened.
struct Prepared {
  LineScanPlan plan;
  std::vector<uint8_t> addresses;
  std::optional<SettingsValues> values;
  std::optional<RestorePlan> restore;
  std::optional<LineBook> book;  // backup's folder, made when missing
};

std::optional<Prepared> Prepare(const Subcommands& s, const Command& c,
                                const LineOptions& options) {
  Prepared p;
  if (s.scan->parsed()) {
    const auto plan = ScanPlan(c);
    if (!plan) return std::nullopt;
    p.plan = *plan;
  }
  if (s.read->parsed() && !c.readFile.empty()) {
    // Refused before the camera is read: a FIFO or a device is never replaced.
    if (const FileOutcome target = CheckReplaceable(c.readFile); !target.ok) {
      Complain("can not save the file \"" + c.readFile + "\": " + target.reason);
      return std::nullopt;
    }
  }
  if (s.backup->parsed()) {
    if (s.backup->count("--to") > 0) {
      p.addresses = WriteAddresses(c, options, true);
      if (p.addresses.empty()) return std::nullopt;
    }
    p.book.emplace(c.folder);
    if (const FileOutcome loaded = p.book->Load(true); !loaded.ok) {
      Complain("can not use the folder \"" + c.folder + "\": " + loaded.reason);
      return std::nullopt;
    }
  }
  if (s.restore->parsed()) {
    if (s.restore->count("--to") > 0) {
      p.addresses = WriteAddresses(c, options, true);
      if (p.addresses.empty()) return std::nullopt;
    }
    if (!(p.restore = PlanRestore(c.folder, p.addresses))) return std::nullopt;
  }
  if (s.diff->parsed() && !(p.values = LoadSettings(c.diffFile))) return std::nullopt;
  if (s.write->parsed()) {
    p.addresses = WriteAddresses(c, options, s.write->count("--to") > 0);
    if (p.addresses.empty() || !(p.values = LoadSettings(c.writeFile))) return std::nullopt;
  }
  if (s.write->parsed() || s.restore->parsed()) {
    if (c.report) {
      if (const FileOutcome target = CheckReplaceable(*c.report); !target.ok) {
        Complain("can not save the report \"" + *c.report + "\": " + target.reason);
        return std::nullopt;
      }
    }
  }
  return p;
}

int RunOnLine(CameraLine& line, LineBytes* lineBytes, const Subcommands& s, const Command& c,
              const LineOptions& options, Prepared& p) {
  // A scan polls by itself: the engine's first poll would only cross its own.
  const bool scanFirst = s.scan->parsed() || (s.backup->parsed() && p.addresses.empty());
  if (!scanFirst) line.Start();
  if (s.scan->parsed()) return RunScan(line, options, p.plan);
  if (s.backup->parsed()) return RunBackup(line, options, *p.book, c.folder, p.addresses);
  if (s.restore->parsed()) return RunRestore(line, options, *p.restore, c.report.value_or(""));
  if (s.diff->parsed()) return RunDiff(line, options, *p.values);
  if (s.state->parsed()) return RunState(line, options, *lineBytes);
  if (s.read->parsed()) return RunRead(line, options, c.readFile);
  if (s.write->parsed()) {
    return RunWrite(line, options, *p.values, p.addresses, !c.noVerify,
                    {c.report.value_or(""), c.writeFile});
  }
  if (s.delayRead->parsed()) return RunDelay(line, options, std::nullopt);
  if (s.delayWrite->parsed()) return RunDelay(line, options, c.delay);
  if (s.ptz->parsed()) return RunPtz(line, options, *lineBytes, c.button, c.ptzCheck);
  return RunMonitor(line, options, *lineBytes, c.seconds);
}

int RunCommand(const Subcommands& s, const Command& c, const LineOptions& options, Prepared& p) {
  std::unique_ptr<LineBytes> lineBytes;
  LinkSession::PortWrap wrap;
  if (s.monitor->parsed() || s.state->parsed() || s.ptz->parsed()) {
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
  const int status = RunOnLine(line, lineBytes.get(), s, c, options, p);
  // Scan and write say it themselves, with what they did before.
  if (line.LineLost() && status != kExitPort) {
    Complain(LineLostProblem(nullptr));
    return kExitPort;
  }
  return status;
}

// The first word that is no option, when it names no command: CLI11 would
// only say that a command is required.
std::string UnknownCommand(const CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.rfind("-", 0) == 0) {
      const CLI::Option* option = app.get_option_no_throw(word);
      if (option != nullptr && option->get_items_expected_max() > 0) ++i;  // its value
      continue;
    }
    const auto commands =
        app.get_subcommands([&](const CLI::App* command) { return command->check_name(word); });
    return commands.empty() ? word : std::string();
  }
  return {};
}

// Whether --json was asked for, before the command line is known to be good:
// a refused command line gets its document too.
bool JsonAsked(int argc, char** argv) {
  for (int i = 1; i < argc && std::string(argv[i]) != "--"; ++i) {
    if (std::string(argv[i]) == "--json") return true;
  }
  return false;
}

int Run(int argc, char** argv) {
  LineOptions options;
  Command c;
  CLI::App app("Reads, writes and steers CCTV cameras on a serial RS-485 line as ZELTA does.",
               "zelta-cli");
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(
      "Exit status: 0 done, 1 a camera failed (no answer, refused, differs, two cameras at\n"
      "an address) or an unexpected failure, 2 bad usage (nothing was sent), 3 the port\n"
      "could not be opened or failed, 4 stopped by Ctrl+C, SIGTERM or SIGHUP, 5 the result\n"
      "could not be written. With --json every run prints one JSON document; a failure\n"
      "adds an \"error\" member with the message.");
  std::string protocol = ProtocolName(options.protocol);
  DescribeLineOptions(app, options, protocol);
  const Subcommands commands = DescribeCommands(app, c);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
      SetJsonOutput(false);  // --help and --version answer in text
      app.exit(error);
      return kExitDone;
    }
    const bool noCommand = dynamic_cast<const CLI::RequiredError*>(&error) != nullptr ||
                           dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr;
    if (const std::string unknown = noCommand ? UnknownCommand(app, argc, argv) : std::string();
        !unknown.empty()) {
      Complain("unknown command " + unknown + " (see --help)");
    } else {
      app.exit(error);
      NoteError(error.what());
    }
    return kExitUsage;
  }
  options.protocol = ProtocolCodes().at(protocol);
  SetJsonOutput(options.json);

  std::optional<Prepared> prepared = Prepare(commands, c, options);
  if (!prepared) return kExitUsage;
  int status = RunCommand(commands, c, options, *prepared);
  // A monitor ends this way; anything else was cut short.
  if (StopRequested() && !commands.monitor->parsed() && status == kExitCameraFailed) {
    Complain("stopped");
    status = kExitStopped;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  InstallStopSignals();
  SetJsonOutput(JsonAsked(argc, argv));
  int status = kExitCameraFailed;
  // Every failure ends here, after the port is closed (and its driver's
  // flags given back) on the way out, never in an abort.
  try {
    status = Run(argc, argv);
  } catch (const ECommError& error) {
    Complain(std::string("serial port: ") + error.what());
    status = kExitPort;
  } catch (const std::exception& error) {
    Complain(std::string("unexpected failure: ") + error.what());
    status = kExitCameraFailed;
  } catch (...) {
    Complain("unexpected failure");
    status = kExitCameraFailed;
  }
  if (!FinishOutput()) {
    if (OutputPipeClosed()) EndAsClosedPipe();
    if (status == kExitDone) status = kExitOutput;
  }
  return status;
}
