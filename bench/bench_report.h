// The benchmark's figures and their two forms: a table for people and JSON
// for tracking.
#pragma once

#include <string>
#include <vector>

struct TransferFigures {
  int exchanges = 0;
  double wallMs = 0;
  double limitMs = 0;
  double cpuMs = 0;
  bool completed = false;
  double Ratio() const { return limitMs > 0 ? wallMs / limitMs : 0; }
};

struct SpeedFigures {
  std::string setup;  // empty: the tool straight on the pseudo-terminal
  int baud = 0;
  int guardMs = 0;
  int replyDelayMs = 0;
  TransferFigures read, write;
  int turnaroundSamples = 0;
  double turnaroundMedianMs = 0;
  double turnaroundWorstMs = 0;
  // RTS raised later than the request's line time plus the guard time.
  int rtsSamples = 0;
  double rtsLateMedianMs = 0;
  double rtsLateWorstMs = 0;
  int rtsCutRequests = 0;     // RTS back before the request's last stop bit
  int rtsClippedReplies = 0;  // RTS back more than a byte time late
  double idleSeconds = 0;
  double idleCpuMs = 0;
  int idlePolls = 0;
  long idleHandOvers = 0;
  long peakKb = 0;
  std::string error;  // empty when the speed ran
  double IdleCpuPercent() const {
    return idleSeconds > 0 ? idleCpuMs / (idleSeconds * 1000) * 100 : 0;
  }
};

struct ProgramFigures {
  bool measured = false;
  std::string note;  // why not, or how
  double seconds = 0;
  double cpuMs = 0;
  long peakKb = 0;
  int polls = 0;  // polls the camera saw meanwhile
  double CpuPercent() const { return seconds > 0 ? cpuMs / (seconds * 1000) * 100 : 0; }
};

// An installer tool on a line of cameras (Find Cameras, Write to Several
// Cameras) beside its own line-time limit.
struct ToolFigures {
  std::string name;  // as the table shows it
  std::string key;   // as the JSON names it
  int baud = 0;
  int steps = 0;     // addresses polled, or cameras written
  int found = 0;     // cameras found, or written and read back alike
  int expected = 0;  // cameras on the simulated line
  double wallMs = 0;
  double limitMs = 0;
  double cpuMs = 0;
  bool completed = false;   // finished with every camera found or verified
  double allowedRatio = 0;  // the target, as a ratio to the limit; 0: none
  std::string error;        // empty when it ran
  double Ratio() const { return limitMs > 0 ? wallMs / limitMs : 0; }
};

struct BenchFigures {
  std::vector<SpeedFigures> speeds;
  std::vector<ToolFigures> tools;
  std::string toolsNote;  // why the tools were not measured, if so
  ProgramFigures program;
  long peakKb = 0;
  std::string machine;  // load and cores while it ran
};

std::string BenchTable(const BenchFigures& figures);
std::string BenchJson(const BenchFigures& figures);
// The targets each missed, one line each; empty when all are met.
std::vector<std::string> MissedTargets(const BenchFigures& figures);
