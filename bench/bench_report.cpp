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

}  // namespace

std::string BenchTable(const BenchFigures& f) {
  std::ostringstream out;
  out << "Camera link against zelta-camsim --line-timing on a pseudo-terminal (" << f.machine
      << ")\n\n";
  out << " baud | guard | reply | transfer |  exch |   wall ms |  limit ms | ratio | CPU ms "
         "| turnaround ms median / worst (n) | RTS late ms med / worst | idle CPU %  (s, polls) "
         "| peak MB\n";
  out << "------+-------+-------+----------+-------+-----------+-----------+-------+--------"
         "+----------------------------------+-------------------------+------------------------"
         "+--------\n";
  for (const SpeedFigures& s : f.speeds) {
    if (!s.setup.empty()) out << " " << s.setup << ":\n";
    if (!s.error.empty()) {
      out << Format(" %4.0f | ", s.baud) << "not measured: " << s.error << "\n";
      continue;
    }
    const auto row = [&](const char* name, const TransferFigures& t, bool first) {
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
                      s.turnaroundMedianMs, s.turnaroundWorstMs, s.turnaroundSamples,
                      s.rtsLateMedianMs, s.rtsLateWorstMs, s.IdleCpuPercent(), s.idleSeconds,
                      s.idlePolls, static_cast<double>(s.peakKb) / 1024);
      } else {
        std::snprintf(text, sizeof text, "| %32s | %23s | %22s |\n", "", "", "");
      }
      out << text;
    };
    row("Read", s.read, true);
    row("Write", s.write, false);
    if (s.rtsCutRequests + s.rtsClippedReplies > 0) {
      out << Format(
          "        RTS back before the request's end: %.0f, late enough to clip a "
          "reply: %.0f of %.0f frames\n",
          s.rtsCutRequests, s.rtsClippedReplies, s.rtsSamples);
    }
  }
  out << "\nlimit: per exchange a 10-byte request and a 10-byte reply at 10 bits a byte, plus the "
         "longer of the guard time and the simulator's reply delay.\n"
         "turnaround: last byte of a reply leaving the simulator to the first byte of the next "
         "request (Read and Write Camera together).\n"
         "RTS late: RTS raised again after the request's line time plus the guard time.\n"
         "CPU: user + system time of the link side (main and serial event thread).\n";
  out << "\nWhole program (zelta, idle): ";
  if (f.program.measured) {
    out << Format("%.1f s, CPU %.1f ms = %.3f %% of one core", f.program.seconds, f.program.cpuMs,
                  f.program.CpuPercent())
        << Format(", peak memory %.1f MB", static_cast<double>(f.program.peakKb) / 1024)
        << ", polls seen by the camera: " << f.program.polls << "\n";
  } else {
    out << "not measured: " << f.program.note << "\n";
  }
  if (f.program.measured && !f.program.note.empty()) out << "  (" << f.program.note << ")\n";
  out << Format("Peak memory of the benchmark process: %.1f MB\n",
                static_cast<double>(f.peakKb) / 1024);
  const std::vector<std::string> missed = MissedTargets(f);
  out << "\nTargets: " << (missed.empty() ? "all met\n" : "missed:\n");
  for (const std::string& line : missed) out << "  - " << line << "\n";
  return out.str();
}

std::vector<std::string> MissedTargets(const BenchFigures& f) {
  std::vector<std::string> missed;
  for (const SpeedFigures& s : f.speeds) {
    if (!s.error.empty()) continue;
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
  if (f.program.measured) {
    if (f.program.CpuPercent() >= kIdleCpuTargetPercent) {
      missed.push_back(Format("zelta idle CPU %.3f %% (target below %.1f %%)",
                              f.program.CpuPercent(), kIdleCpuTargetPercent));
    }
    if (f.program.peakKb >= kPeakTargetKb) {
      missed.push_back(Format("zelta peak memory %.1f MB (target below 80 MB)",
                              static_cast<double>(f.program.peakKb) / 1024));
    }
  }
  if (f.peakKb >= kPeakTargetKb) {
    missed.push_back(Format("benchmark peak memory %.1f MB (target below 80 MB)",
                            static_cast<double>(f.peakKb) / 1024));
  }
  return missed;
}

std::string BenchJson(const BenchFigures& f) {
  nlohmann::ordered_json speeds = nlohmann::ordered_json::array();
  for (const SpeedFigures& s : f.speeds) {
    speeds.push_back({
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
    });
  }
  const nlohmann::ordered_json report = {
      {"machine", f.machine},
      {"speeds", speeds},
      {"program",
       {{"measured", f.program.measured},
        {"note", f.program.note},
        {"seconds", Rounded(f.program.seconds, 1)},
        {"cpu_ms", Rounded(f.program.cpuMs, 2)},
        {"cpu_percent", Rounded(f.program.CpuPercent(), 4)},
        {"peak_kb", f.program.peakKb},
        {"polls", f.program.polls}}},
      {"peak_kb", f.peakKb},
      {"missed", MissedTargets(f)},
  };
  return report.dump(2) + "\n";
}
