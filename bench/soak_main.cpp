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
#include "headless/parse_options.h"

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

const char kDescription[] =
    "Runs Write Camera and Read Camera in turn against zelta-camsim --noise RATE\n"
    "--split --reply-delay MS --line-timing on a pseudo-terminal, writing random\n"
    "values and checking every value read back. RATE is the simulator's chance of\n"
    "1 to 3 garbage bytes before a reply: 0.1 gives about one garbage byte in 50\n"
    "on the line.";

void DescribeOptions(CLI::App& app, Options& o) {
  app.add_option("--seconds", o.seconds, "how long to run");
  app.add_option("--noise", o.noise, "the simulator's noise rate")->type_name("RATE");
  app.add_option("--baud", o.baud, "line speed")->type_name("B");
  app.add_option("--reply-delay", o.replyDelayMs, "the camera's reply delay")->type_name("MS");
  app.add_flag(
      "--no-split", [&o](int64_t) { o.split = false; }, "whole replies");
  app.add_flag(
      "--no-line-timing", [&o](int64_t) { o.lineTiming = false; }, "replies without line timing");
  app.add_option("--seed", o.seed, "seed of the values and the noise");
  app.add_option("--sim", o.sim, "zelta-camsim to start")->type_name("PATH");
}

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
  return link.Engine().LastTransferEnd() == TransferEnd::Finished;
}

// What the soak knows as it goes: the counts, how far the trace is read,
// what the camera should hold, and the memory after the first transfer.
struct Soak {
  Counts counts;
  long traceOffset = 0;
  CameraValues expected;
  bool known = true;   // whether `expected` is what the camera holds
  bool write = false;  // the first transfer reads the starting values
  long peakStartKb = -1, rssStartKb = -1;
};

std::vector<std::string> SimArgs(const Options& o, const CameraValues& start) {
  std::vector<std::string> simOptions = {
      "--baud",        std::to_string(o.baud),         "--noise", o.noise,
      "--reply-delay", std::to_string(o.replyDelayMs), "--seed",  std::to_string(o.seed)};
  if (o.split) simOptions.push_back("--split");
  if (o.lineTiming) simOptions.push_back("--line-timing");
  for (const std::string& option : start.SimOptions()) simOptions.push_back(option);
  return simOptions;
}

bool OpenLink(LinkSession& link, const std::string& path, int baud) {
  link.Port().record = false;  // a long run keeps no per-frame records
  if (!link.Open(path, baud)) {
    std::fprintf(stderr, "zelta-soak: cannot open %s\n", path.c_str());
    return false;
  }
  link.Start();
  return true;
}

// Writes new random values; when the write fails, some items may have
// reached the camera and some not.
void WriteStep(LinkSession& link, std::mt19937& random, Soak& soak) {
  const CameraValues next = CameraValues::Random(random);
  next.ToPanel(link.Panel());
  if (Transfer(link, true)) {
    ++soak.counts.transfersCompleted;
    soak.expected = next;
    soak.known = true;
  } else {
    ++soak.counts.transfersFailed;
    soak.known = false;
  }
}

// Reads the camera back and checks what it holds when that is known.
void ReadStep(LinkSession& link, Soak& soak) {
  if (!Transfer(link, false)) {
    ++soak.counts.transfersFailed;
    return;
  }
  ++soak.counts.transfersCompleted;
  const CameraValues read = CameraValues::FromPanel(link.Panel(), link.State());
  if (soak.known) {
    ++soak.counts.readsChecked;
    soak.counts.wrongValues += soak.expected.Differences(read);
  }
  soak.expected = read;
  soak.known = true;
}

void ReportProgress(LinkSession& link, const Counts& c, Clock::time_point start) {
  std::fprintf(stderr,
               "zelta-soak: %.0f s: %ld exchanges, %ld completed, %ld failed, %ld wrong, "
               "peak %ld KiB\n",
               std::chrono::duration<double>(Clock::now() - start).count(),
               link.Port().FramesStarted(), c.transfersCompleted, c.transfersFailed, c.wrongValues,
               PeakResidentKb());
}

// Writes and reads in turn until the time is up, with a line of progress a
// minute; returns when it started.
Clock::time_point RunSoak(const Options& o, LinkSession& link, const SimProcess& sim,
                          std::mt19937& random, Soak& soak) {
  const Clock::time_point start = Clock::now();
  const auto end = start + milliseconds(static_cast<long>(o.seconds * 1000));
  Clock::time_point nextReport = start + std::chrono::seconds(60);
  while (Clock::now() < end) {
    if (!link.WaitLinked(milliseconds(10000))) {
      ++soak.counts.linkWaitsFailed;
      continue;
    }
    if (soak.write) {
      WriteStep(link, random, soak);
    } else {
      ReadStep(link, soak);
    }
    soak.write = !soak.write;
    ReadTrace(sim, soak.traceOffset, soak.counts);
    if (soak.peakStartKb < 0) {
      soak.peakStartKb = PeakResidentKb();
      soak.rssStartKb = ResidentKb();
    }
    if (Clock::now() >= nextReport) {
      nextReport += std::chrono::seconds(60);
      ReportProgress(link, soak.counts, start);
    }
  }
  return start;
}

void PrintSummary(const Options& o, LinkSession& link, const Soak& soak, double seconds) {
  const Counts& c = soak.counts;
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
      c.readsChecked, c.wrongValues, c.linkWaitsFailed, cpu, cpu / seconds * 100, soak.peakStartKb,
      PeakResidentKb(), soak.rssStartKb, ResidentKb());
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  CLI::App app(kDescription, "zelta-soak");
  DescribeOptions(app, o);
  if (const auto status = ParseOptions(app, argc, argv)) return *status;
  std::mt19937 random(o.seed);
  Soak soak;
  soak.expected = CameraValues::Random(random);
  SimProcess sim(o.sim, SimArgs(o, soak.expected));
  const std::string path = sim.WaitReady();
  if (path.empty()) {
    std::fprintf(stderr, "zelta-soak: zelta-camsim did not start: %s\n", sim.Output().c_str());
    return 1;
  }
  LinkSession link;
  if (!OpenLink(link, path, o.baud)) return 1;
  const Clock::time_point start = RunSoak(o, link, sim, random, soak);
  ReadTrace(sim, soak.traceOffset, soak.counts);
  PrintSummary(o, link, soak, std::chrono::duration<double>(Clock::now() - start).count());
  return soak.counts.wrongValues == 0 ? 0 : 1;
}
