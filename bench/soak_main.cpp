// zelta-soak: Write Camera and Read Camera in a loop, with the camera link and
// the real serial component, against zelta-camsim with noise, damaged frames,
// split replies and a reply delay, for a given time; every value read back is
// checked, in the panel and in a settings file saved from it, and every reply
// frame that passes the acceptance checks must be one the camera sent.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/process_figures.h"
#include "bench/reply_witness.h"
#include "bench/sim_process.h"
#include "bench/sim_trace.h"
#include "bench/soak_camera.h"
#include "headless/link_session.h"
#include "headless/parse_options.h"
#include "link/camera_items.h"
#include "link/memory_panel.h"
#include "settings/settings_file_io.h"
#include "settings/settings_reader.h"
#include "settings/settings_writer.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

struct Options {
  double seconds = 600;
  std::string noise = "0.1";
  std::string corrupt = "0";
  std::string corruptRequests = "0";
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
    "on the line. --corrupt RATE damages that share of the replies inside the\n"
    "frame (one bit flipped or one byte lost), --corrupt-requests RATE the\n"
    "requests the camera hears.";

void DescribeOptions(CLI::App& app, Options& o) {
  app.add_option("--seconds", o.seconds, "how long to run");
  app.add_option("--noise", o.noise, "the simulator's noise rate")->type_name("RATE");
  app.add_option("--corrupt", o.corrupt, "share of the replies damaged")->type_name("RATE");
  app.add_option("--corrupt-requests", o.corruptRequests, "share of the requests damaged")
      ->type_name("RATE");
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
  long repliesDamaged = 0, requestsDamaged = 0;
  long framesPassed = 0, framesNotSent = 0;  // frames that passed the acceptance checks
  long transfersEndedOtherwise = 0;          // neither "Finish" nor their error text
  long filesChecked = 0, fileWrongValues = 0;
};

// What the camera sent whole and the engine's receiver has not yet passed.
using SentFrames = std::deque<WitnessedFrame>;

bool StartsWith(const std::string& text, const char* start) {
  return text.rfind(start, 0) == 0;
}

void ReadTrace(const SimProcess& sim, long& offset, Counts& c, SentFrames& sent) {
  for (const SimTraceLine& line : ReadSimTrace(sim.TracePath(), offset)) {
    if (line.tx) {
      if (line.meaning == "noise") {
        c.garbageBytes += static_cast<long>(line.bytes.size());
        continue;
      }
      ++c.repliesSent;
      c.replyBytes += static_cast<long>(line.bytes.size());
      if (StartsWith(line.meaning, "damaged")) {
        ++c.repliesDamaged;
      } else if (line.bytes.size() == kFrameSize) {
        WitnessedFrame frame{};
        std::copy(line.bytes.begin(), line.bytes.end(), frame.begin());
        sent.push_back(frame);
      }
    } else if (StartsWith(line.meaning, "damaged")) {
      ++c.requestsDamaged;
    } else if (line.meaning.find("dropped") != std::string::npos) {
      ++c.requestsDroppedByCamera;
    }
  }
}

// Each frame the receiver passed must be the next of those the camera sent
// whole (some of those may have been lost to noise on the way).
void MatchAccepted(ReplyWitness& witness, SentFrames& sent, Counts& c) {
  for (const WitnessedFrame& frame : witness.TakeAccepted()) {
    ++c.framesPassed;
    const auto found = std::find(sent.begin(), sent.end(), frame);
    if (found == sent.end()) {
      ++c.framesNotSent;
      continue;
    }
    sent.erase(sent.begin(), found + 1);
  }
}

enum class TransferOutcome { Finished, Failed, Otherwise };

// Runs one transfer to its end: finished, failed with its own error text, or
// ended some other way (which must never happen).
TransferOutcome Transfer(LinkSession& link, bool write) {
  link.Window().ClearLog();
  if (write) {
    link.Engine().WriteButtonClick();
  } else {
    link.Engine().ReadButtonClick();
  }
  const CameraLinkState& state = link.State();
  // A transfer ends by itself: the watchdog fails it after four silent ticks.
  link.RunUntil([&] { return state.ReadBusy == 0 && state.WriteBusy == 0; }, milliseconds(120000));
  const std::optional<TransferEnd> end = link.Engine().LastTransferEnd();
  if (end == TransferEnd::Finished) return TransferOutcome::Finished;
  // A failure counts as one only when its specified text was shown too.
  const std::string error = write ? "WRITE ERROR.." : "READ ERROR..";
  const auto& log = link.Window().mainLog;
  const bool shown =
      std::any_of(log.begin(), log.end(), [&](const auto& change) { return change.text == error; });
  const bool failed = end == TransferEnd::Failed || end == TransferEnd::Refused;
  return failed && shown ? TransferOutcome::Failed : TransferOutcome::Otherwise;
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
  ReplyWitness* witness = nullptr;
  SentFrames sent;
  std::string settingsPath;  // where each read is saved and read back
};

void CountOutcome(TransferOutcome outcome, Counts& c) {
  if (outcome == TransferOutcome::Finished) {
    ++c.transfersCompleted;
    return;
  }
  ++c.transfersFailed;
  if (outcome == TransferOutcome::Otherwise) ++c.transfersEndedOtherwise;
}

// Saves the panel as Save As does, opens the file again as Open does and
// counts the values that differ from `expected`.
void CheckSavedFile(LinkSession& link, const CameraValues& expected, Soak& soak) {
  ++soak.counts.filesChecked;
  std::string bytes;
  std::vector<std::string> lines;
  SettingsValues values;
  SettingsFileError error;
  const bool read =
      ReplaceFile(soak.settingsPath, SettingsFileText(link.Panel(), link.State())).ok &&
      ReadFileLines(soak.settingsPath, kSettingsFileLines, lines).ok &&
      CheckSettingsLines(lines, values, error);
  if (!read) {
    soak.counts.fileWrongValues += static_cast<long>(kCameraItemCount);
    return;
  }
  MemoryPanel panel;
  CameraLinkState state{};
  SetPanelDefaults(panel, state);
  ApplySettings(values, panel, state);
  // Open puts the ID text in the panel's edit; the record holds what was read.
  CameraValues opened = CameraValues::FromPanel(panel, state);
  opened.id = panel.IdEditText();
  soak.counts.fileWrongValues += expected.Differences(opened);
}

std::vector<std::string> SimArgs(const Options& o, const CameraValues& start) {
  std::vector<std::string> simOptions = {
      "--baud",        std::to_string(o.baud),         "--noise", o.noise,
      "--reply-delay", std::to_string(o.replyDelayMs), "--seed",  std::to_string(o.seed)};
  if (o.corrupt != "0") simOptions.insert(simOptions.end(), {"--corrupt", o.corrupt});
  if (o.corruptRequests != "0") {
    simOptions.insert(simOptions.end(), {"--corrupt-requests", o.corruptRequests});
  }
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
  const TransferOutcome outcome = Transfer(link, true);
  CountOutcome(outcome, soak.counts);
  if (outcome == TransferOutcome::Finished) {
    soak.expected = next;
    soak.known = true;
  } else {
    soak.known = false;
  }
}

// Reads the camera back and checks what it holds when that is known.
void ReadStep(LinkSession& link, Soak& soak) {
  const TransferOutcome outcome = Transfer(link, false);
  CountOutcome(outcome, soak.counts);
  if (outcome != TransferOutcome::Finished) return;
  const CameraValues read = CameraValues::FromPanel(link.Panel(), link.State());
  if (soak.known) {
    ++soak.counts.readsChecked;
    soak.counts.wrongValues += soak.expected.Differences(read);
    CheckSavedFile(link, soak.expected, soak);
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
    ReadTrace(sim, soak.traceOffset, soak.counts, soak.sent);
    MatchAccepted(*soak.witness, soak.sent, soak.counts);
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
  std::printf(
      "  damage: --corrupt %s --corrupt-requests %s\n"
      "  replies damaged by the line      %ld\n"
      "  requests damaged by the line     %ld\n"
      "  frames passing the checks        %ld\n"
      "  of them not sent by the camera   %ld\n"
      "  transfers ended otherwise        %ld (neither \"Finish\" nor their error text)\n"
      "  saved files checked              %ld\n"
      "  wrong values in saved files      %ld\n",
      o.corrupt.c_str(), o.corruptRequests.c_str(), c.repliesDamaged, c.requestsDamaged,
      c.framesPassed, c.framesNotSent, c.transfersEndedOtherwise, c.filesChecked,
      c.fileWrongValues);
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
  std::unique_ptr<ReplyWitness> witness;
  LinkSession link([&witness](LinkPort& inner) -> LinkPort& {
    witness = std::make_unique<ReplyWitness>(inner);
    return *witness;
  });
  witness->Watch(link.State(), link.Address());
  soak.witness = witness.get();
  // Beside the simulator's trace, in its private folder.
  soak.settingsPath = sim.TracePath() + ".soak.TXT";
  if (!OpenLink(link, path, o.baud)) return 1;
  const Clock::time_point start = RunSoak(o, link, sim, random, soak);
  ReadTrace(sim, soak.traceOffset, soak.counts, soak.sent);
  MatchAccepted(*witness, soak.sent, soak.counts);
  ::unlink(soak.settingsPath.c_str());
  PrintSummary(o, link, soak, std::chrono::duration<double>(Clock::now() - start).count());
  const Counts& c = soak.counts;
  const bool sound = c.wrongValues == 0 && c.fileWrongValues == 0 && c.framesNotSent == 0 &&
                     c.transfersEndedOtherwise == 0;
  return sound ? 0 : 1;
}
