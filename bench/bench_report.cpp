#include "bench/bench_report.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// A figure rounded to `places` decimals, as the JSON carries it.
double Rounded(double value, int places) {
  const double scale = std::pow(10.0, places);
  return std::round(value * scale) / scale;
}

// Ratio allowed at a speed; 0 where the targets set none.
double AllowedRatio(int baud) {
  if (baud == 4800 || baud == 9600) return 1.10;
  if (baud == 1200) return 1.05;
  return 0;
}

constexpr double kTurnaroundTargetMs = 2.0;
constexpr double kIdleCpuTargetPercent = 0.5;
constexpr long kPeakTargetKb = 80 * 1024;

nlohmann::ordered_json TransferJson(const TransferFigures& t) {
  return {{"exchanges", t.exchanges},        {"completed", t.completed},
          {"wall_ms", Rounded(t.wallMs, 2)}, {"limit_ms", Rounded(t.limitMs, 2)},
          {"ratio", Rounded(t.Ratio(), 4)},  {"cpu_ms", Rounded(t.cpuMs, 2)}};
}

// The targets one speed missed: each transfer's completion and ratio, the
// turnaround and the idle CPU.
void SpeedMisses(const SpeedFigures& s, std::vector<std::string>& missed) {
  const double allowed = AllowedRatio(s.baud);
  for (const auto& [name, t] :
       {std::pair<const char*, const TransferFigures&>{"Read", s.read}, {"Write", s.write}}) {
    if (!t.completed) {
      missed.push_back(std::to_string(s.baud) + " baud " + name + " Camera did not complete");
    } else if (allowed > 0 && t.Ratio() > allowed) {
      missed.push_back(
          std::to_string(s.baud) + " baud " + name +
          Format(" Camera at %.3f x the line-time limit (target %.2f)", t.Ratio(), allowed));
    }
  }
  if (s.turnaroundMedianMs >= kTurnaroundTargetMs) {
    missed.push_back(std::to_string(s.baud) +
                     Format(" baud turnaround median %.3f ms (target below %.0f ms)",
                            s.turnaroundMedianMs, kTurnaroundTargetMs));
  }
  if (s.IdleCpuPercent() >= kIdleCpuTargetPercent) {
    missed.push_back(std::to_string(s.baud) +
                     Format(" baud idle CPU %.3f %% (target below %.1f %%)", s.IdleCpuPercent(),
                            kIdleCpuTargetPercent));
  }
}

void ToolMisses(const ToolFigures& t, std::vector<std::string>& missed) {
  const std::string where = std::to_string(t.baud) + " baud " + t.name;
  if (!t.error.empty()) {
    missed.push_back(where + " not measured: " + t.error);
  } else if (!t.completed) {
    missed.push_back(where +
                     Format(" did not complete (%.0f of %.0f cameras)", t.found, t.expected));
  } else if (t.allowedRatio > 0 && t.Ratio() > t.allowedRatio) {
    missed.push_back(where +
                     Format(" at %.3f x its limit (target %.2f)", t.Ratio(), t.allowedRatio));
  }
}

void ProgramMisses(const ProgramFigures& program, std::vector<std::string>& missed) {
  if (program.CpuPercent() >= kIdleCpuTargetPercent) {
    missed.push_back(Format("zelta idle CPU %.3f %% (target below %.1f %%)", program.CpuPercent(),
                            kIdleCpuTargetPercent));
  }
  if (program.peakKb >= kPeakTargetKb) {
    missed.push_back(Format("zelta peak memory %.1f MB (target below 80 MB)",
                            static_cast<double>(program.peakKb) / 1024));
  }
}

nlohmann::ordered_json SpeedJson(const SpeedFigures& s) {
  return {
      {"setup", s.setup},
      {"baud", s.baud},
      {"guard_ms", s.guardMs},
      {"reply_delay_ms", s.replyDelayMs},
      {"error", s.error},
      {"read", TransferJson(s.read)},
      {"write", TransferJson(s.write)},
      {"turnaround",
       {{"samples", s.turnaroundSamples},
        {"median_ms", Rounded(s.turnaroundMedianMs, 3)},
        {"worst_ms", Rounded(s.turnaroundWorstMs, 3)}}},
      {"rts_late",
       {{"samples", s.rtsSamples},
        {"median_ms", Rounded(s.rtsLateMedianMs, 3)},
        {"worst_ms", Rounded(s.rtsLateWorstMs, 3)},
        {"cut_requests", s.rtsCutRequests},
        {"clipped_replies", s.rtsClippedReplies}}},
      {"idle",
       {{"seconds", Rounded(s.idleSeconds, 1)},
        {"cpu_ms", Rounded(s.idleCpuMs, 2)},
        {"cpu_percent", Rounded(s.IdleCpuPercent(), 4)},
        {"polls", s.idlePolls},
        {"hand_overs", s.idleHandOvers}}},
      {"peak_kb", s.peakKb},
  };
}

nlohmann::ordered_json ToolJson(const ToolFigures& t) {
  return {{"tool", t.key},
          {"baud", t.baud},
          {"error", t.error},
          {"steps", t.steps},
          {"cameras", t.found},
          {"expected", t.expected},
          {"completed", t.completed},
          {"wall_ms", Rounded(t.wallMs, 2)},
          {"limit_ms", Rounded(t.limitMs, 2)},
          {"ratio", Rounded(t.Ratio(), 4)},
          {"target_ratio", t.allowedRatio},
          {"cpu_ms", Rounded(t.cpuMs, 2)}};
}

nlohmann::ordered_json ProgramJson(const ProgramFigures& program) {
  return {{"measured", program.measured},
          {"note", program.note},
          {"seconds", Rounded(program.seconds, 1)},
          {"cpu_ms", Rounded(program.cpuMs, 2)},
          {"cpu_percent", Rounded(program.CpuPercent(), 4)},
          {"peak_kb", program.peakKb},
          {"polls", program.polls}};
}

void TableHead(std::ostringstream& out, const std::string& machine) {
  out << "Camera link against zelta-camsim --line-timing on a pseudo-terminal (" << machine
      << ")\n\n";
  out << " baud | guard | reply | transfer |  exch |   wall ms |  limit ms | ratio | CPU ms "
         "| turnaround ms median / worst (n) | RTS late ms med / worst | idle CPU %  (s, polls) "
         "| peak MB\n";
  out << "------+-------+-------+----------+-------+-----------+-----------+-------+--------"
         "+----------------------------------+-------------------------+------------------------"
         "+--------\n";
}

// One transfer's row; the speed's own figures go on its first row only.
void TransferRow(std::ostringstream& out, const SpeedFigures& s, const char* name,
                 const TransferFigures& t, bool first) {
  char text[512];
  std::snprintf(text, sizeof text,
                " %4d | %3d ms| %3d ms| %-8s | %5d | %9.1f | %9.1f | %5.3f | %6.1f ", s.baud,
                s.guardMs, s.replyDelayMs, name, t.exchanges, t.wallMs, t.limitMs, t.Ratio(),
                t.cpuMs);
  out << text;
  if (!t.completed) out << "(FAILED) ";
  if (first) {
    std::snprintf(text, sizeof text,
                  "| %6.3f / %6.3f (%3d)            | %6.3f / %6.3f         "
                  "| %6.3f  (%4.0f s, %3d)   | %6.1f\n",
                  s.turnaroundMedianMs, s.turnaroundWorstMs, s.turnaroundSamples, s.rtsLateMedianMs,
                  s.rtsLateWorstMs, s.IdleCpuPercent(), s.idleSeconds, s.idlePolls,
                  static_cast<double>(s.peakKb) / 1024);
  } else {
    std::snprintf(text, sizeof text, "| %32s | %23s | %22s |\n", "", "", "");
  }
  out << text;
}

void SpeedRows(std::ostringstream& out, const SpeedFigures& s) {
  if (!s.setup.empty()) out << " " << s.setup << ":\n";
  if (!s.error.empty()) {
    out << Format(" %4.0f | ", s.baud) << "not measured: " << s.error << "\n";
    return;
  }
  TransferRow(out, s, "Read", s.read, true);
  TransferRow(out, s, "Write", s.write, false);
  if (s.rtsCutRequests + s.rtsClippedReplies > 0) {
    out << Format(
        "        RTS back before the request's end: %.0f, late enough to clip a "
        "reply: %.0f of %.0f frames\n",
        s.rtsCutRequests, s.rtsClippedReplies, s.rtsSamples);
  }
}

void TableNotes(std::ostringstream& out) {
  out << "\nlimit: per exchange a 10-byte request and a 10-byte reply at 10 bits a byte, plus the "
         "longer of the guard time and the simulator's reply delay.\n"
         "turnaround: last byte of a reply leaving the simulator to the first byte of the next "
         "request (Read and Write Camera together).\n"
         "RTS late: RTS raised again after the request's line time plus the guard time.\n"
         "CPU: user + system time of the link side (main and serial event thread).\n";
}

void ToolLines(std::ostringstream& out, const BenchFigures& f) {
  out << "\nInstaller tools against zelta-camsim --cameras 1-8 --line-timing:";
  if (f.tools.empty()) {
    out << " not measured" << (f.toolsNote.empty() ? "" : ": " + f.toolsNote) << "\n";
    return;
  }
  out << "\n\n baud | tool              | steps | cameras |   wall ms |  limit ms | ratio | target "
         "| "
         "CPU ms\n"
         "------+-------------------+-------+---------+-----------+-----------+-------+--------+"
         "-------\n";
  for (const ToolFigures& t : f.tools) {
    char text[256];
    std::snprintf(text, sizeof text, " %4d | %-17s | ", t.baud, t.name.c_str());
    out << text;
    if (!t.error.empty()) {
      out << "not measured: " << t.error << "\n";
      continue;
    }
    const std::string target = t.allowedRatio > 0 ? Format("%6.2f", t.allowedRatio) : "     -";
    std::snprintf(text, sizeof text, "%5d | %3d / %-3d | %9.1f | %9.1f | %5.3f | %s | %6.1f",
                  t.steps, t.found, t.expected, t.wallMs, t.limitMs, t.Ratio(), target.c_str(),
                  t.cpuMs);
    out << text << (t.completed ? "" : " (FAILED)") << "\n";
  }
  out << "\nFind Cameras limit, the line's floor: per address the poll's line time, the guard "
         "time and the camera's turnaround allowance; per camera found its confirming poll and "
         "two replies. The scan waits for a reply's start byte this long plus a UART's FIFO "
         "(LineScan::ReplyWindowMs).\n"
         "Write Cameras limit: per camera the Write Camera and Read Camera line-time limits "
         "(the read-back).\n"
         "Back Up Cameras limit: per camera the Read Camera line-time limit.\n";
}

void ProgramLines(std::ostringstream& out, const ProgramFigures& program) {
  out << "\nWhole program (zelta, idle): ";
  if (program.measured) {
    out << Format("%.1f s, CPU %.1f ms = %.3f %% of one core", program.seconds, program.cpuMs,
                  program.CpuPercent())
        << Format(", peak memory %.1f MB", static_cast<double>(program.peakKb) / 1024)
        << ", polls seen by the camera: " << program.polls << "\n";
  } else {
    out << "not measured: " << program.note << "\n";
  }
  if (program.measured && !program.note.empty()) out << "  (" << program.note << ")\n";
}

void TargetLines(std::ostringstream& out, const BenchFigures& f) {
  const std::vector<std::string> missed = MissedTargets(f);
  out << "\nTargets: " << (missed.empty() ? "all met\n" : "missed:\n");
  for (const std::string& line : missed) out << "  - " << line << "\n";
}

}  // namespace

std::string BenchTable(const BenchFigures& f) {
  std::ostringstream out;
  TableHead(out, f.machine);
  for (const SpeedFigures& s : f.speeds) SpeedRows(out, s);
  TableNotes(out);
  ToolLines(out, f);
  ProgramLines(out, f.program);
  out << Format("Peak memory of the benchmark process: %.1f MB\n",
                static_cast<double>(f.peakKb) / 1024);
  TargetLines(out, f);
  return out.str();
}

std::vector<std::string> MissedTargets(const BenchFigures& f) {
  std::vector<std::string> missed;
  for (const SpeedFigures& s : f.speeds) {
    if (s.error.empty()) SpeedMisses(s, missed);
  }
  for (const ToolFigures& t : f.tools) ToolMisses(t, missed);
  if (f.program.measured) ProgramMisses(f.program, missed);
  if (f.peakKb >= kPeakTargetKb) {
    missed.push_back(Format("benchmark peak memory %.1f MB (target below 80 MB)",
                            static_cast<double>(f.peakKb) / 1024));
  }
  return missed;
}

std::string BenchJson(const BenchFigures& f) {
  nlohmann::ordered_json speeds = nlohmann::ordered_json::array();
  for (const SpeedFigures& s : f.speeds) speeds.push_back(SpeedJson(s));
  nlohmann::ordered_json tools = nlohmann::ordered_json::array();
  for (const ToolFigures& t : f.tools) tools.push_back(ToolJson(t));
  const nlohmann::ordered_json report = {
      {"machine", f.machine},
      {"speeds", speeds},
      {"tools", tools},
      {"tools_note", f.toolsNote},
      {"program", ProgramJson(f.program)},
      {"peak_kb", f.peakKb},
      {"missed", MissedTargets(f)},
  };
  return report.dump(2) + "\n";
}
