// Find Cameras: every address of a range polled at each chosen speed, with
// the engine's own link paused, one line per camera that answered.
#include <cstdio>
#include <optional>

#include "cli/camera_scan.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/port_problem.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"
#include "link/line_scan.h"

namespace {

class ScanRecord : public LineScanListener {
 public:
  explicit ScanRecord(bool showProgress) : showProgress_(showProgress) {}

  void ScanProgress(const LineScanProgress& p) override {
    if (!showProgress_) return;
    std::fprintf(stderr, "\r\033[K%d baud, address %d, %d%%, %d s left", BaudOfCode(p.speedCode),
                 p.address, static_cast<int>(p.fractionDone * 100), (p.msLeft + 999) / 1000);
  }
  void ScanFound(const LineScanFind& find) override { finds.push_back(find); }
  void ScanFinished(bool wasStopped) override {
    finished = true;
    stopped = wasStopped;
    if (showProgress_) std::fputs("\r\033[K", stderr);
  }
  void ScanLineLost(const LineLoss& where) override {
    ScanFinished(true);
    loss = where;
  }

  std::vector<LineScanFind> finds;
  bool finished = false;
  bool stopped = false;
  std::optional<LineLoss> loss;  // the port's device went mid-scan

 private:
  const bool showProgress_;
};

}  // namespace

ScanOutcome ScanCameras(CameraLine& line, const LineScanPlan& plan) {
  LinkSession& session = line.Session();
  ScanRecord record(line.ShowsProgress());
  LineScan* running = nullptr;
  MainLoop::Timer replyTimer(session.Loop(), [&] { running->ReplyTimerTimer(); });
  LineScan scan(line.Engine(), session.Port(), replyTimer, record);
  running = &scan;
  ScanOutcome outcome;
  if (session.Port().Gone()) {
    Complain(LineLostProblem(nullptr));
    outcome.refused = kExitPort;
    return outcome;
  }
  if (!scan.Start(plan)) {
    if (!session.Port().Enabled()) {
      Complain(line.PortClosedText());
      outcome.refused = kExitPort;
      return outcome;
    }
    Complain("the line is busy");
    outcome.refused = kExitCameraFailed;
    return outcome;
  }
  // An address settles in at most three polls, each no longer than the
  // silent window the plan counts.
  const auto limit = std::chrono::milliseconds(LineScan::PlanMs(plan) * 3 + 10000);
  session.RunUntil([&] { return record.finished || StopRequested(); }, limit);
  if (!record.finished) {
    // Stopped (or out of time): the scan ends when the reply window closes.
    scan.Stop();
    session.RunUntil([&] { return record.finished; }, std::chrono::seconds(2));
  }
  outcome.finds = record.finds;
  outcome.finished = record.finished;
  outcome.stopped = record.stopped;
  outcome.loss = record.loss;
  return outcome;
}

int RunScan(CameraLine& line, const LineOptions& options, const LineScanPlan& plan) {
  LinkSession& session = line.Session();
  const ScanOutcome record = ScanCameras(line, plan);
  if (record.refused) return record.refused;
  std::string text;
  Json cameras = Json::array();
  bool duplicate = false;
  for (const LineScanFind& find : record.finds) {
    const int baud = BaudOfCode(find.speedCode);
    text += (text.empty() ? "" : "\n") + std::to_string(find.address) + " " + std::to_string(baud);
    Json camera = {{"address", find.address}, {"baud", baud}};
    if (!find.remark.empty()) {
      text += " " + find.remark;
      camera["remark"] = find.remark;
      duplicate = true;
    }
    cameras.push_back(camera);
  }
  const LineLoss* loss = record.loss ? &*record.loss : nullptr;
  const bool gone = loss || session.Port().Gone();
  Json document{{"cameras", cameras}};
  if (gone) document["line_lost"] = LineLostJson(loss);
  if (text.empty() && !record.stopped && !gone) Complain("no camera answered");
  if (duplicate) Complain("two cameras answer at one address");
  if (options.json || !text.empty()) PrintResult(options.json, text, document);
  if (gone) {
    // What was found before stands on stdout; the scan failed with the port.
    Complain(LineLostProblem(loss));
    return kExitPort;
  }
  const bool completed = record.finished && !record.stopped && !StopRequested();
  return completed && !record.finds.empty() && !duplicate ? kExitDone : kExitCameraFailed;
}
