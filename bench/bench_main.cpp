// zelta-bench: Read Camera and Write Camera over the real serial component
// against zelta-camsim with line timing, at each speed, beside the physical
// limit of the line; turnaround, CPU time and memory; the whole program idle.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/adapter_model.h"
#include "bench/bench_report.h"
#include "bench/line_tools.h"
#include "bench/process_figures.h"
#include "bench/sim_process.h"
#include "bench/sim_trace.h"
#include "bench/zelta_idle.h"
#include "headless/link_session.h"
#include "headless/parse_options.h"
#include "link/line_speeds.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

std::vector<int> AllSpeeds() {
  std::vector<int> speeds;
  for (const LineSpeed& speed : kLineSpeeds) speeds.push_back(speed.bitsPerSecond);
  return speeds;
}

struct Options {
  std::vector<int> speeds = AllSpeeds();
  double idleSeconds = 30;
  double programSeconds = 30;
  int replyDelayMs = -1;     // -1: the guard time of each speed
  int adapterLatencyMs = 0;  // 0: no adapter between the tool and the line
  std::string jsonFile;
  std::string sim = SimProgramBesideThis();
  std::string zelta = ThisProgramFolder() + "/zelta";
  bool program = true;
  bool findCameras = true;   // Find Cameras over 199 addresses
  bool writeCameras = true;  // Write to Several Cameras with read-back
};

// The installer tools run on a line of this many cameras, addresses 1 up;
// Find Cameras at every speed, Write to Several Cameras at this one.
constexpr int kToolCameras = 8;
constexpr int kToolBaud = 9600;

const char kDescription[] =
    "Runs Read Camera and Write Camera with the camera link and the real serial\n"
    "component against zelta-camsim --line-timing on a pseudo-terminal at each speed\n"
    "and prints wall time beside the line-time limit, the reply-to-request\n"
    "turnaround, CPU time and peak memory. Without --reply-delay the simulated\n"
    "camera answers after the guard time of each speed (the earliest a camera may\n"
    "answer without talking into the tool's own transmission). With --adapter-latency\n"
    "each speed runs twice through a USB adapter model whose latency timer holds\n"
    "replies and whose transmitter-empty flag lags by up to MS: once trusting that\n"
    "flag alone, once as the serial layer treats an adapter. Then Find Cameras over\n"
    "199 addresses at each speed beside the line's floor, and Write to Several Cameras\n"
    "with read-back and Back Up Line at 9600 baud beside their line-time limits, against\n"
    "zelta-camsim --cameras 1-8 --line-timing.";

// The options and their checks; --program-only empties the speeds and leaves
// the tools out, --tools-only leaves out the speeds and the program.
void DescribeOptions(CLI::App& app, Options& o, bool& programOnly, bool& toolsOnly) {
  app.add_option("--json", o.jsonFile, "also write the figures as JSON to FILE")->type_name("FILE");
  app.add_option("--speeds", o.speeds, "speeds to measure")
      ->delimiter(',')
      ->type_name("1200,2400,4800,9600")
      ->check([](const std::string& text) {
        return GuardTimeMs(std::atoi(text.c_str())) == 0 ? "speed " + text : std::string();
      });
  app.add_option("--idle-seconds", o.idleSeconds, "idle polling measured at each speed");
  app.add_option("--reply-delay", o.replyDelayMs, "the camera's reply delay (default: guard time)")
      ->type_name("MS");
  app.add_option("--adapter-latency", o.adapterLatencyMs, "run through a USB adapter model")
      ->type_name("MS")
      ->check(CLI::Range(1, 1000));
  app.add_option("--program-seconds", o.programSeconds, "the whole program measured idle");
  app.add_flag(
      "--no-program", [&o](int64_t) { o.program = false; }, "leave the program out");
  app.add_flag("--program-only", programOnly, "measure the program alone");
  app.add_option_function<std::vector<std::string>>(
         "--tools",
         [&o](const std::vector<std::string>& tools) {
           o.findCameras = std::find(tools.begin(), tools.end(), "find") != tools.end();
           o.writeCameras = std::find(tools.begin(), tools.end(), "write") != tools.end();
         },
         "installer tools to measure on 8 cameras")
      ->delimiter(',')
      ->type_name("find,write")
      ->check(CLI::IsMember({"find", "write"}));
  app.add_flag(
      "--no-tools",
      [&o](int64_t) {
        o.findCameras = false;
        o.writeCameras = false;
      },
      "leave the installer tools out");
  app.add_flag("--tools-only", toolsOnly, "measure the installer tools alone");
  app.add_option("--sim", o.sim, "zelta-camsim to start")->type_name("PATH");
  app.add_option("--zelta", o.zelta, "zelta program to measure idle")->type_name("PATH");
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int64_t MonotonicUs(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five;
  in >> one >> five;
  return one + " " + five;
}

// Line time of one exchange: a 10-byte request and a 10-byte reply at 10 bits
// a byte, then the longer of the guard time and the camera's reply delay.
double ExchangeLimitMs(int baud, int guardMs, int replyDelayMs) {
  return 20.0 * 10.0 * 1000.0 / baud + std::max(guardMs, replyDelayMs);
}

struct FrameRange {
  size_t first, end;
};

TransferFigures RunTransfer(LinkSession& link, bool write, const SpeedFigures& s,
                            std::vector<FrameRange>& ranges) {
  TransferFigures t;
  TimedPort& port = link.Port();
  port.FlushFrame();
  const size_t first = port.frames.size();
  link.Window().ClearLog();
  const double cpu0 = ProcessCpuSeconds();
  const Clock::time_point start = Clock::now();
  if (write) {
    link.Engine().WriteButtonClick();
  } else {
    link.Engine().ReadButtonClick();
  }
  const CameraLinkState& state = link.State();
  link.RunUntil([&] { return state.ReadBusy == 0 && state.WriteBusy == 0; }, milliseconds(60000));
  t.cpuMs = (ProcessCpuSeconds() - cpu0) * 1000;
  port.FlushFrame();
  t.completed = link.Engine().LastTransferEnd() == TransferEnd::Finished;
  // The wall time ends where the status bar said so.
  for (const auto& change : link.Window().mainLog) {
    if (t.completed && change.text == "Finish") t.wallMs = Ms(change.time - start);
  }
  t.exchanges = static_cast<int>(port.frames.size() - first);
  t.limitMs = t.exchanges * ExchangeLimitMs(s.baud, s.guardMs, s.replyDelayMs);
  ranges.push_back({first, port.frames.size()});
  return t;
}

using Frames = std::vector<TimedPort::Frame>;

// When each reply left the simulator, in the order of the trace.
std::vector<int64_t> ReplyTimes(const std::string& tracePath) {
  long offset = 0;
  std::vector<int64_t> replies;
  for (const SimTraceLine& line : ReadSimTrace(tracePath, offset)) {
    if (line.tx && line.meaning.find("reply") != std::string::npos) replies.push_back(line.us);
  }
  return replies;
}

// From the last byte of a reply to the first byte of the request after it.
void TurnaroundFigures(const Frames& frames, const std::vector<FrameRange>& ranges,
                       const std::vector<int64_t>& replies, SpeedFigures& s) {
  std::vector<double> samples;
  for (const FrameRange& range : ranges) {
    // The first request of a transfer follows the click, not a reply.
    for (size_t i = range.first + 1; i < range.end; ++i) {
      const int64_t at = MonotonicUs(frames[i].time);
      const auto reply = std::lower_bound(replies.begin(), replies.end(), at);
      if (reply == replies.begin()) continue;
      samples.push_back(static_cast<double>(at - *std::prev(reply)) / 1000.0);
    }
  }
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  s.turnaroundSamples = static_cast<int>(samples.size());
  s.turnaroundMedianMs = samples[samples.size() / 2];
  s.turnaroundWorstMs = samples.back();
}

// RTS must come back when the request has left the line and the guard time
// has passed; later, a camera that answers at once loses its first bits.
void RtsFigures(const Frames& frames, const std::vector<FrameRange>& ranges, SpeedFigures& s) {
  std::vector<double> late;
  for (const FrameRange& range : ranges) {
    for (size_t i = range.first; i < range.end; ++i) {
      const TimedPort::Frame& frame = frames[i];
      if (frame.rtsOn == Clock::time_point{}) continue;
      const double lineMs = static_cast<double>(frame.bytes.size()) * 10.0 * 1000.0 / s.baud;
      late.push_back(Ms(frame.rtsOn - frame.time) - lineMs - s.guardMs);
      // Before the last stop bit the request loses its end; after the guard
      // time a camera that answers then loses its first bits.
      if (late.back() < -s.guardMs) ++s.rtsCutRequests;
      if (late.back() > 10.0 * 1000.0 / s.baud) ++s.rtsClippedReplies;
    }
  }
  if (late.empty()) return;
  std::sort(late.begin(), late.end());
  s.rtsSamples = static_cast<int>(late.size());
  s.rtsLateMedianMs = late[late.size() / 2];
  s.rtsLateWorstMs = late.back();
}

// adapter: none, or a USB adapter model whose flag is trusted alone (`exact`)
// or treated as an adapter's.
enum class Adapter { None, FlagTrusted, Mended };

// The USB adapter model between the link and the line: the driver the serial
// component runs on and the port the link writes through. It must outlive
// the session that uses it.
struct AdapterRig {
  std::shared_ptr<AdapterModel> model;
  std::unique_ptr<AdapterPort> port;

  // How the session wraps its port; nothing without a model.
  LinkSession::PortWrap Wrap() {
    if (!model) return nullptr;
    return [this](LinkPort& inner) -> LinkPort& {
      port = std::make_unique<AdapterPort>(inner, model);
      return *port;
    };
  }
};

// A speed's settings before it runs: its guard time and the camera's reply delay.
SpeedFigures SpeedSettings(const Options& o, int baud) {
  SpeedFigures s;
  s.baud = baud;
  s.guardMs = GuardTimeMs(baud);
  s.replyDelayMs = o.replyDelayMs >= 0 ? o.replyDelayMs : s.guardMs;
  return s;
}

std::vector<std::string> SimArgs(const SpeedFigures& s) {
  return {"--baud",        std::to_string(s.baud),         "--line-timing",
          "--reply-delay", std::to_string(s.replyDelayMs), "--trace-us"};
}

// Puts the adapter model between the link and the line, and tells the
// simulator to hold its replies as the adapter would.
void UseAdapter(const Options& o, Adapter adapter, SpeedFigures& s,
                std::vector<std::string>& simArgs, AdapterRig& rig) {
  const std::string ms = std::to_string(o.adapterLatencyMs);
  s.setup = "USB adapter model, latency " + ms + " ms, " +
            (adapter == Adapter::FlagTrusted ? "transmitter flag trusted alone"
                                             : "transmitter flag treated as lagging");
  simArgs.insert(simArgs.end(), {"--adapter-latency", ms});
  rig.model = std::make_shared<AdapterModel>(o.adapterLatencyMs, adapter == Adapter::FlagTrusted);
}

// Opens the line and waits for the camera to answer the poll; the error, or
// empty when the link is up.
std::string StartLink(LinkSession& link, const std::string& path, int baud,
                      const std::shared_ptr<AdapterModel>& model) {
  if (model) link.Comm().SetDriver(model);
  if (!link.Open(path, baud)) return "cannot open " + path;
  link.Start();
  if (!link.WaitLinked(milliseconds(5000))) return "the camera did not answer the poll";
  return {};
}

// Read Camera, then Write Camera, and the line timings of both.
void MeasureTransfers(LinkSession& link, const std::string& tracePath, SpeedFigures& s) {
  std::vector<FrameRange> ranges;
  s.read = RunTransfer(link, false, s, ranges);
  link.WaitLinked(milliseconds(5000));
  s.write = RunTransfer(link, true, s, ranges);
  const Frames& frames = link.Port().frames;
  TurnaroundFigures(frames, ranges, ReplyTimes(tracePath), s);
  RtsFigures(frames, ranges, s);
}

// The link left alone, polling: CPU time, polls and hand-overs.
void MeasureIdle(LinkSession& link, double seconds, SpeedFigures& s) {
  link.WaitLinked(milliseconds(5000));
  link.Port().FlushFrame();
  const size_t framesBefore = link.Port().frames.size();
  const long handOversBefore = link.Loop().HandOvers();
  const double cpu0 = ProcessCpuSeconds();
  const Clock::time_point start = Clock::now();
  link.RunFor(milliseconds(static_cast<long>(seconds * 1000)));
  s.idleCpuMs = (ProcessCpuSeconds() - cpu0) * 1000;
  s.idleSeconds = Ms(Clock::now() - start) / 1000;
  link.Port().FlushFrame();
  s.idlePolls = static_cast<int>(link.Port().frames.size() - framesBefore);
  s.idleHandOvers = link.Loop().HandOvers() - handOversBefore;
}

SpeedFigures RunSpeed(const Options& o, int baud, Adapter adapter) {
  SpeedFigures s = SpeedSettings(o, baud);
  std::vector<std::string> simArgs = SimArgs(s);
  AdapterRig rig;
  if (adapter != Adapter::None) UseAdapter(o, adapter, s, simArgs, rig);
  SimProcess sim(o.sim, simArgs);
  const std::string path = sim.WaitReady();
  if (path.empty()) {
    s.error = "zelta-camsim did not start (" + o.sim + "): " + sim.Output();
    return s;
  }
  LinkSession link(rig.Wrap());
  s.error = StartLink(link, path, baud, rig.model);
  if (!s.error.empty()) return s;
  MeasureTransfers(link, sim.TracePath(), s);
  MeasureIdle(link, o.idleSeconds, s);
  s.peakKb = PeakResidentKb();
  return s;
}

// Each speed, once straight on the line or twice through the adapter model.
void MeasureSpeeds(const Options& options, BenchFigures& figures) {
  for (const int baud : options.speeds) {
    std::fprintf(stderr, "zelta-bench: %d baud...\n", baud);
    if (options.adapterLatencyMs == 0) {
      figures.speeds.push_back(RunSpeed(options, baud, Adapter::None));
    } else {
      figures.speeds.push_back(RunSpeed(options, baud, Adapter::FlagTrusted));
      figures.speeds.push_back(RunSpeed(options, baud, Adapter::Mended));
    }
  }
}

// Read Camera and Write Camera on the line's first camera, for their
// line-time limits, then Write to Several Cameras and Back Up Line over the
// whole line.
std::vector<ToolFigures> LineToolFigures(LinkSession& link, const SpeedFigures& s) {
  std::vector<FrameRange> ranges;
  link.WaitLinked(milliseconds(5000));
  const TransferFigures read = RunTransfer(link, false, s, ranges);
  link.WaitLinked(milliseconds(5000));
  const TransferFigures write = RunTransfer(link, true, s, ranges);
  std::vector<uint8_t> addresses;
  for (int address = 1; address <= kToolCameras; ++address) {
    addresses.push_back(static_cast<uint8_t>(address));
  }
  if (read.completed && write.completed) {
    link.WaitLinked(milliseconds(5000));
    ToolFigures written = MeasureMultiWrite(link, s.baud, addresses, write.limitMs, read.limitMs);
    link.WaitLinked(milliseconds(5000));
    return {written, MeasureLineBackup(link, s.baud, addresses, read.limitMs)};
  }
  std::vector<ToolFigures> failed(2);
  failed[0].name = "Write " + std::to_string(kToolCameras) + " Cameras";
  failed[0].key = "write_cameras";
  failed[1].name = "Back Up " + std::to_string(kToolCameras) + " Cameras";
  failed[1].key = "backup_cameras";
  for (ToolFigures& t : failed) {
    t.baud = s.baud;
    t.error = "Read or Write Camera, which give its limit, did not complete";
  }
  return failed;
}

// Find Cameras at each speed and Write to Several Cameras against a
// simulated line of cameras at that speed, each beside its own limit.
void MeasureTools(const Options& o, BenchFigures& figures) {
  if (!o.findCameras && !o.writeCameras) {
    figures.toolsNote = "left out (--no-tools)";
    return;
  }
  for (const int baud : AllSpeeds()) {
    const bool write = o.writeCameras && baud == kToolBaud;
    if (!o.findCameras && !write) continue;
    std::fprintf(stderr, "zelta-bench: installer tools at %d baud...\n", baud);
    const SpeedFigures s = SpeedSettings(o, baud);
    std::vector<std::string> simArgs = SimArgs(s);
    simArgs.insert(simArgs.end(), {"--cameras", "1-" + std::to_string(kToolCameras)});
    SimProcess sim(o.sim, simArgs);
    const std::string path = sim.WaitReady();
    if (path.empty()) {
      figures.toolsNote = "zelta-camsim did not start (" + o.sim + "): " + sim.Output();
      return;
    }
    LinkSession link;
    figures.toolsNote = StartLink(link, path, baud, nullptr);
    if (!figures.toolsNote.empty()) return;
    if (o.findCameras) figures.tools.push_back(MeasureFindCameras(link, baud, kToolCameras));
    if (write) {
      for (const ToolFigures& t : LineToolFigures(link, s)) figures.tools.push_back(t);
    }
  }
}

ProgramFigures MeasureProgram(const Options& options) {
  if (!options.program) {
    ProgramFigures figures;
    figures.note = "left out (--no-program)";
    return figures;
  }
  std::fprintf(stderr, "zelta-bench: the whole program, idle...\n");
  return MeasureIdleProgram(options.zelta, options.sim, options.programSeconds);
}

bool WriteJson(const std::string& file, const BenchFigures& figures) {
  std::ofstream out(file);
  out << BenchJson(figures);
  if (out) return true;
  std::fprintf(stderr, "zelta-bench: cannot write %s\n", file.c_str());
  return false;
}

bool AllSpeedsRan(const BenchFigures& figures) {
  return std::all_of(figures.speeds.begin(), figures.speeds.end(),
                     [](const SpeedFigures& s) { return s.error.empty(); });
}

// The tools asked for ran (whether or not they met their targets).
bool ToolsRan(const Options& options, const BenchFigures& figures) {
  if (!options.findCameras && !options.writeCameras) return true;
  return !figures.tools.empty() &&
         std::all_of(figures.tools.begin(), figures.tools.end(),
                     [](const ToolFigures& t) { return t.error.empty(); });
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  bool programOnly = false;
  bool toolsOnly = false;
  CLI::App app(kDescription, "zelta-bench");
  DescribeOptions(app, options, programOnly, toolsOnly);
  if (const auto status = ParseOptions(app, argc, argv)) return *status;
  if (programOnly) {
    options.speeds.clear();
    options.findCameras = false;
    options.writeCameras = false;
  }
  if (toolsOnly) {
    options.speeds.clear();
    options.program = false;
  }
  BenchFigures figures;
  const std::string loadBefore = LoadAverage();
  MeasureSpeeds(options, figures);
  MeasureTools(options, figures);
  figures.program = MeasureProgram(options);
  figures.peakKb = PeakResidentKb();
  figures.machine = std::to_string(std::thread::hardware_concurrency()) + " cores, load average " +
                    loadBefore + " before, " + LoadAverage() + " after";
  std::fputs(BenchTable(figures).c_str(), stdout);
  if (!options.jsonFile.empty() && !WriteJson(options.jsonFile, figures)) return 1;
  return AllSpeedsRan(figures) && ToolsRan(options, figures) ? 0 : 1;
}
