// zelta-soak: Write Camera and Read Camera in a loop, with the camera link and
// the real serial component, against zelta-camsim with noise, split replies
// and a reply delay, for a given time; every value read back is checked.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/process_figures.h"
#include "bench/sim_process.h"
#include "bench/sim_trace.h"
#include "bench/soak_camera.h"
#include "headless/link_session.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

struct Options {
  double seconds = 600;
  std::string noise = "0.1";
  int baud = 9600;
  int replyDelayMs = 5;
  bool split = true;
  bool lineTiming = true;
  unsigned seed = 1;
  std::string sim = SimProgramBesideThis();
};

const char kUsage[] =
    "Usage: zelta-soak [--seconds N] [--noise RATE] [--baud B] [--reply-delay MS]\n"
    "                  [--no-split] [--no-line-timing] [--seed N] [--sim PATH]\n"
    "Runs Write Camera and Read Camera in turn against zelta-camsim --noise RATE\n"
    "--split --reply-delay MS --line-timing on a pseudo-terminal, writing random\n"
    "values and checking every value read back. RATE is the simulator's chance of\n"
    "1 to 3 garbage bytes before a reply: 0.1 gives about one garbage byte in 50\n"
    "on the line.\n";

struct Counts {
  long transfersCompleted = 0, transfersFailed = 0;
  long readsChecked = 0, wrongValues = 0;
  long garbageBytes = 0, replyBytes = 0, repliesSent = 0, requestsDroppedByCamera = 0;
  long linkWaitsFailed = 0;
};

void ReadTrace(const SimProcess& sim, long& offset, Counts& c) {
  for (const SimTraceLine& line : ReadSimTrace(sim.TracePath(), offset)) {
    if (line.tx) {
      if (line.meaning == "noise") {
        c.garbageBytes += static_cast<long>(line.bytes.size());
      } else {
        ++c.repliesSent;
        c.replyBytes += static_cast<long>(line.bytes.size());
      }
    } else if (line.meaning.find("dropped") != std::string::npos) {
      ++c.requestsDroppedByCamera;
    }
  }
}

// Runs one transfer to its end; true when it finished.
bool Transfer(LinkSession& link, bool write) {
  link.Window().ClearLog();
  if (write) {
    link.Engine().WriteButtonClick();
  } else {
    link.Engine().ReadButtonClick();
  }
  const CameraLinkState& state = link.State();
  // A transfer ends by itself: the watchdog fails it after four silent ticks.
  link.RunUntil([&] { return state.ReadBusy == 0 && state.WriteBusy == 0; }, milliseconds(120000));
  for (const auto& change : link.Window().mainLog) {
    if (change.text == "Finish") return true;
  }
  return false;
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--seconds") {
      o.seconds = std::stod(value());
    } else if (arg == "--noise") {
      o.noise = value();
    } else if (arg == "--baud") {
      o.baud = std::stoi(value());
    } else if (arg == "--reply-delay") {
      o.replyDelayMs = std::stoi(value());
    } else if (arg == "--no-split") {
      o.split = false;
    } else if (arg == "--no-line-timing") {
      o.lineTiming = false;
    } else if (arg == "--seed") {
      o.seed = static_cast<unsigned>(std::stoul(value()));
    } else if (arg == "--sim") {
      o.sim = value();
    } else if (arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else {
      throw std::invalid_argument("unknown option " + arg);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  try {
    Parse(argc, argv, o);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelta-soak: %s\n%s", error.what(), kUsage);
    return 2;
  }
  std::mt19937 random(o.seed);
  CameraValues expected = CameraValues::Random(random);
  std::vector<std::string> simOptions = {
      "--baud",        std::to_string(o.baud),         "--noise", o.noise,
      "--reply-delay", std::to_string(o.replyDelayMs), "--seed",  std::to_string(o.seed)};
  if (o.split) simOptions.push_back("--split");
  if (o.lineTiming) simOptions.push_back("--line-timing");
  for (const std::string& option : expected.SimOptions()) simOptions.push_back(option);
  SimProcess sim(o.sim, simOptions);
  const std::string path = sim.WaitReady();
  if (path.empty()) {
    std::fprintf(stderr, "zelta-soak: zelta-camsim did not start: %s\n", sim.Output().c_str());
    return 1;
  }
  LinkSession link;
  link.Port().record = false;  // a long run keeps no per-frame records
  if (!link.Open(path, o.baud)) {
    std::fprintf(stderr, "zelta-soak: cannot open %s\n", path.c_str());
    return 1;
  }
  link.Start();

  Counts c;
  long traceOffset = 0;
  bool known = true;  // whether `expected` is what the camera holds
  long peakStartKb = -1, rssStartKb = -1;
  const Clock::time_point start = Clock::now();
  const auto end = start + milliseconds(static_cast<long>(o.seconds * 1000));
  Clock::time_point nextReport = start + std::chrono::seconds(60);
  bool write = false;  // the first transfer reads the starting values
  while (Clock::now() < end) {
    if (!link.WaitLinked(milliseconds(10000))) {
      ++c.linkWaitsFailed;
      continue;
    }
    if (write) {
      const CameraValues next = CameraValues::Random(random);
      next.ToPanel(link.Panel());
      if (Transfer(link, true)) {
        ++c.transfersCompleted;
        expected = next;
        known = true;
      } else {
        ++c.transfersFailed;
        known = false;  // some items may have reached the camera, some not
      }
    } else if (Transfer(link, false)) {
      ++c.transfersCompleted;
      const CameraValues read = CameraValues::FromPanel(link.Panel(), link.State());
      if (known) {
        ++c.readsChecked;
        c.wrongValues += expected.Differences(read);
      }
      expected = read;
      known = true;
    } else {
      ++c.transfersFailed;
    }
    write = !write;
    ReadTrace(sim, traceOffset, c);
    if (peakStartKb < 0) {
      peakStartKb = PeakResidentKb();
      rssStartKb = ResidentKb();
    }
    if (Clock::now() >= nextReport) {
      nextReport += std::chrono::seconds(60);
      std::fprintf(stderr,
                   "zelta-soak: %.0f s: %ld exchanges, %ld completed, %ld failed, %ld wrong, "
                   "peak %ld KiB\n",
                   std::chrono::duration<double>(Clock::now() - start).count(),
                   link.Port().FramesStarted(), c.transfersCompleted, c.transfersFailed,
                   c.wrongValues, PeakResidentKb());
    }
  }
  ReadTrace(sim, traceOffset, c);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = ProcessCpuSeconds();
  const long exchanges = link.Port().FramesStarted();
  const long dropped = c.repliesSent - link.AcceptedReplies();
  const double garbageShare =
      c.garbageBytes + c.replyBytes > 0
          ? static_cast<double>(c.garbageBytes) / static_cast<double>(c.garbageBytes + c.replyBytes)
          : 0;
  std::printf(
      "Soak: zelta-camsim --baud %d --noise %s%s --reply-delay %d%s, %.0f s\n"
      "  exchanges (requests sent)        %ld\n"
      "  replies sent by the camera       %ld\n"
      "  replies accepted                 %ld\n"
      "  frames dropped (not accepted)    %ld\n"
      "  requests dropped by the camera   %ld\n"
      "  garbage bytes injected           %ld (%.4f of the bytes on the line, 1 in %.0f)\n"
      "  transfers completed              %ld\n"
      "  transfers failed                 %ld\n"
      "  reads checked                    %ld\n"
      "  wrong values                     %ld\n"
      "  waits for the link that failed   %ld\n"
      "  CPU time                         %.2f s (%.2f %% of one core)\n"
      "  peak memory (VmHWM) start / end  %ld / %ld KiB\n"
      "  resident (VmRSS) start / end     %ld / %ld KiB\n",
      o.baud, o.noise.c_str(), o.split ? " --split" : "", o.replyDelayMs,
      o.lineTiming ? " --line-timing" : "", seconds, exchanges, c.repliesSent,
      link.AcceptedReplies(), dropped, c.requestsDroppedByCamera, c.garbageBytes, garbageShare,
      garbageShare > 0 ? 1 / garbageShare : 0.0, c.transfersCompleted, c.transfersFailed,
      c.readsChecked, c.wrongValues, c.linkWaitsFailed, cpu, cpu / seconds * 100, peakStartKb,
      PeakResidentKb(), rssStartKb, ResidentKb());
  return c.wrongValues == 0 ? 0 : 1;
}
