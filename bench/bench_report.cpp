#include "bench/bench_report.h"

#include <cstdio>
#include <sstream>

namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
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

void TransferJson(std::ostringstream& out, const char* name, const TransferFigures& t) {
  out << "      " << Quoted(name) << ": {\"exchanges\": " << t.exchanges
      << ", \"completed\": " << (t.completed ? "true" : "false")
      << ", \"wall_ms\": " << Format("%.2f", t.wallMs)
      << ", \"limit_ms\": " << Format("%.2f", t.limitMs)
      << ", \"ratio\": " << Format("%.4f", t.Ratio()) << ", \"cpu_ms\": " << Format("%.2f", t.cpuMs)
      << "}";
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
  std::ostringstream out;
  out << "{\n  \"machine\": " << Quoted(f.machine) << ",\n  \"speeds\": [\n";
  for (size_t i = 0; i < f.speeds.size(); ++i) {
    const SpeedFigures& s = f.speeds[i];
    out << "    {\"setup\": " << Quoted(s.setup) << ", \"baud\": " << s.baud
        << ", \"guard_ms\": " << s.guardMs << ", \"reply_delay_ms\": " << s.replyDelayMs
        << ", \"error\": " << Quoted(s.error) << ",\n";
    TransferJson(out, "read", s.read);
    out << ",\n";
    TransferJson(out, "write", s.write);
    out << ",\n      \"turnaround\": {\"samples\": " << s.turnaroundSamples
        << ", \"median_ms\": " << Format("%.3f", s.turnaroundMedianMs)
        << ", \"worst_ms\": " << Format("%.3f", s.turnaroundWorstMs) << "},\n"
        << "      \"rts_late\": {\"samples\": " << s.rtsSamples
        << ", \"median_ms\": " << Format("%.3f", s.rtsLateMedianMs)
        << ", \"worst_ms\": " << Format("%.3f", s.rtsLateWorstMs)
        << ", \"cut_requests\": " << s.rtsCutRequests
        << ", \"clipped_replies\": " << s.rtsClippedReplies << "},\n"
        << "      \"idle\": {\"seconds\": " << Format("%.1f", s.idleSeconds)
        << ", \"cpu_ms\": " << Format("%.2f", s.idleCpuMs)
        << ", \"cpu_percent\": " << Format("%.4f", s.IdleCpuPercent())
        << ", \"polls\": " << s.idlePolls << ", \"hand_overs\": " << s.idleHandOvers << "},\n"
        << "      \"peak_kb\": " << s.peakKb << "}" << (i + 1 < f.speeds.size() ? "," : "") << "\n";
  }
  out << "  ],\n  \"program\": {\"measured\": " << (f.program.measured ? "true" : "false")
      << ", \"note\": " << Quoted(f.program.note)
      << ", \"seconds\": " << Format("%.1f", f.program.seconds)
      << ", \"cpu_ms\": " << Format("%.2f", f.program.cpuMs)
      << ", \"cpu_percent\": " << Format("%.4f", f.program.CpuPercent())
      << ", \"peak_kb\": " << f.program.peakKb << ", \"polls\": " << f.program.polls << "},\n";
  out << "  \"peak_kb\": " << f.peakKb << ",\n  \"missed\": [";
  const std::vector<std::string> missed = MissedTargets(f);
  for (size_t i = 0; i < missed.size(); ++i) out << (i ? ", " : "") << Quoted(missed[i]);
  out << "]\n}\n";
  return out.str();
}
