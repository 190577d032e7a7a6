#include "bench/line_tools.h"

#include <chrono>
#include <string>

#include "bench/process_figures.h"
#include "headless/steady_link_clock.h"
#include "link/line_backup.h"
#include "link/line_scan.h"
#include "link/line_speeds.h"
#include "link/multi_write.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Find Cameras' target: its floor and a quarter, at the fastest speed.
constexpr int kFindCamerasTargetBaud = 9600;
constexpr double kFindCamerasAllowedRatio = 1.25;
// Write to Several Cameras': its line-time limit and a tenth.
constexpr double kMultiWriteAllowedRatio = 1.10;
// Backing up a line: one Read Camera limit a camera, and a tenth.
constexpr double kLineBackupAllowedRatio = 1.10;

class ScanRecord : public LineScanListener {
 public:
  void ScanProgress(const LineScanProgress&) override {}
  void ScanFound(const LineScanFind&) override { ++found; }
  void ScanFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
    end = Clock::now();
  }
  // A lost line is no figure: counted as a stopped run.
  void ScanLineLost(const LineLoss&) override { ScanFinished(true); }

  int found = 0;
  bool finished = false;
  bool stopped = false;
  Clock::time_point end{};
};

class WriteRecord : public MultiWriteListener {
 public:
  void WriteProgress(const MultiWriteProgress&) override {}
  void CameraDone(const MultiWriteResult& row) override {
    if (row.outcome == MultiWriteOutcome::Ok) ++ok;
  }
  void WriteFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
    end = Clock::now();
  }
  void WriteLineLost(const LineLoss&) override { WriteFinished(true); }

  int ok = 0;
  bool finished = false;
  bool stopped = false;
  Clock::time_point end{};
};

class BackupRecord : public LineBackupListener {
 public:
  void BackupProgress(const LineBackupProgress&) override {}
  void CameraRead(const LineBackupResult& row) override {
    if (row.outcome == LineBackupOutcome::Read) ++read;
  }
  void BackupFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
    end = Clock::now();
  }
  void BackupLineLost(const LineLoss&) override { BackupFinished(true); }

  int read = 0;
  bool finished = false;
  bool stopped = false;
  Clock::time_point end{};
};

// Both tools start only on an idle link: the first poll may still be out.
bool WaitIdle(LinkSession& link) {
  return link.RunUntil([&] { return !link.Engine().LinkBusy(); }, milliseconds(10000));
}

}  // namespace

ToolFigures MeasureFindCameras(LinkSession& link, int baud, int expected) {
  ToolFigures t;
  t.name = "Find Cameras";
  t.key = "find_cameras";
  t.baud = baud;
  LineScanPlan plan;
  plan.speedCodes = {static_cast<uint8_t>(CodeOfBaud(baud))};
  plan.firstAddress = 1;
  plan.lastAddress = 199;
  t.steps = plan.lastAddress - plan.firstAddress + 1;
  ScanRecord record;
  LineScan* running = nullptr;
  MainLoop::Timer replyTimer(link.Loop(), [&] { running->ReplyTimerTimer(); });
  LineScan scan(link.Engine(), link.Port(), replyTimer, record);
  running = &scan;
  if (!WaitIdle(link)) {
    t.error = "the link did not come idle";
    return t;
  }
  const double cpu0 = ProcessCpuSeconds();
  const Clock::time_point start = Clock::now();
  if (!scan.Start(plan)) {
    t.error = "the scan did not start";
    return t;
  }
  // An address settles in at most three polls of one silent window each.
  const milliseconds limit(LineScan::PlanMs(plan) * 3 + 10000);
  link.RunUntil([&] { return record.finished; }, limit);
  t.cpuMs = (ProcessCpuSeconds() - cpu0) * 1000;
  if (!record.finished) {
    scan.Stop();
    link.RunUntil([&] { return record.finished; }, milliseconds(2000));
    t.error = "the scan did not finish in time";
    return t;
  }
  t.wallMs = Ms(record.end - start);
  t.found = record.found;
  t.expected = expected;
  t.completed = !record.stopped && record.found == expected;
  t.limitMs = LineScan::FloorMs(plan.speedCodes[0], t.steps, t.found);
  t.allowedRatio = baud == kFindCamerasTargetBaud ? kFindCamerasAllowedRatio : 0;
  return t;
}

ToolFigures MeasureMultiWrite(LinkSession& link, int baud, const std::vector<uint8_t>& addresses,
                              double writeLimitMs, double readLimitMs) {
  ToolFigures t;
  t.name = "Write " + std::to_string(addresses.size()) + " Cameras";
  t.key = "write_cameras";
  t.baud = baud;
  t.steps = static_cast<int>(addresses.size());
  t.expected = t.steps;
  const SteadyLinkClock clock;
  WriteRecord record;
  MultiWrite write(link.Engine(), link.Panel(), clock, record);
  MultiWriteOptions options;
  options.readBack = true;
  if (!WaitIdle(link)) {
    t.error = "the link did not come idle";
    return t;
  }
  const double cpu0 = ProcessCpuSeconds();
  const Clock::time_point start = Clock::now();
  if (!write.Start(addresses, options)) {
    t.error = "the write did not start";
    return t;
  }
  // A silent camera costs seconds, a write and read-back at a slow speed a minute.
  const milliseconds limit(60000 * static_cast<long>(addresses.size()));
  link.RunUntil([&] { return record.finished; }, limit);
  t.cpuMs = (ProcessCpuSeconds() - cpu0) * 1000;
  if (!record.finished) {
    write.Stop();
    t.error = "the write did not finish in time";
    return t;
  }
  t.wallMs = Ms(record.end - start);
  t.found = record.ok;
  t.completed = !record.stopped && record.ok == t.steps;
  t.limitMs = t.steps * (writeLimitMs + readLimitMs);
  t.allowedRatio = kMultiWriteAllowedRatio;
  return t;
}

ToolFigures MeasureLineBackup(LinkSession& link, int baud, const std::vector<uint8_t>& addresses,
                              double readLimitMs) {
  ToolFigures t;
  t.name = "Back Up " + std::to_string(addresses.size()) + " Cameras";
  t.key = "backup_cameras";
  t.baud = baud;
  t.steps = static_cast<int>(addresses.size());
  t.expected = t.steps;
  const SteadyLinkClock clock;
  BackupRecord record;
  LineBackup backup(link.Engine(), clock, record);
  if (!WaitIdle(link)) {
    t.error = "the link did not come idle";
    return t;
  }
  const double cpu0 = ProcessCpuSeconds();
  const Clock::time_point start = Clock::now();
  if (!backup.Start(addresses)) {
    t.error = "the backup did not start";
    return t;
  }
  const milliseconds limit(60000 * static_cast<long>(addresses.size()));
  link.RunUntil([&] { return record.finished; }, limit);
  t.cpuMs = (ProcessCpuSeconds() - cpu0) * 1000;
  if (!record.finished) {
    backup.Stop();
    t.error = "the backup did not finish in time";
    return t;
  }
  t.wallMs = Ms(record.end - start);
  t.found = record.read;
  t.completed = !record.stopped && record.read == t.steps;
  t.limitMs = t.steps * readLimitMs;
  t.allowedRatio = kLineBackupAllowedRatio;
  return t;
}
