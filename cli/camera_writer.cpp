#include "cli/camera_writer.h"

#include <chrono>
#include <functional>

#include "headless/steady_link_clock.h"
#include "link/camera_items.h"

namespace {

using Result = CameraOutcome::Result;

class Rows : public MultiWriteListener {
 public:
  // The engine's status line ("Write SHUTTER") is the progress shown.
  void WriteProgress(const MultiWriteProgress&) override {}
  void CameraDone(const MultiWriteResult& row) override {
    outcomes.push_back(OutcomeOf(row));
    if (report) report->push_back(row);
  }
  void WriteFinished(bool) override { finished = true; }
  void WriteLineLost(const LineLoss&) override { finished = true; }

  std::vector<CameraOutcome> outcomes;
  std::vector<MultiWriteResult>* report = nullptr;
  bool finished = false;
};

std::vector<std::string> Names(const std::vector<uint8_t>& items) {
  std::vector<std::string> names;
  for (const uint8_t item : items) names.push_back(MultiWriteItemName(item));
  return names;
}

}  // namespace

std::string ResultName(Result result) {
  switch (result) {
    case Result::Ok:
      return "ok";
    case Result::Differs:
      return "differs";
    case Result::NoAnswer:
      return "no answer";
    case Result::Refused:
      return "refused";
    case Result::Stopped:
      return "stopped";
    case Result::LineLost:
      return "line lost";
  }
  return {};
}

CameraOutcome OutcomeOf(const MultiWriteResult& row) {
  CameraOutcome outcome;
  outcome.address = row.address;
  switch (row.outcome) {
    case MultiWriteOutcome::Ok:
      outcome.result = Result::Ok;
      break;
    case MultiWriteOutcome::Differs:
      outcome.result = Result::Differs;
      break;
    case MultiWriteOutcome::NoAnswer:
      outcome.result = Result::NoAnswer;
      break;
    case MultiWriteOutcome::Refused:
      outcome.result = Result::Refused;
      break;
    case MultiWriteOutcome::Stopped:
      outcome.result = Result::Stopped;
      break;
    case MultiWriteOutcome::LineLost:
      outcome.result = Result::LineLost;
      break;
  }
  outcome.items = Names(row.items);
  const bool failed = row.outcome == MultiWriteOutcome::NoAnswer ||
                      row.outcome == MultiWriteOutcome::Stopped ||
                      row.outcome == MultiWriteOutcome::LineLost;
  if (row.stoppedAt) {
    outcome.stoppedAt = MultiWriteItemName(row.stoppedAt);
  } else if (row.written && failed) {
    outcome.stoppedAt = "read-back";
  }
  outcome.notWritten = Names(row.notWritten);
  for (const uint8_t item : row.notes) outcome.notes.push_back(MultiWriteNoteText(item));
  return outcome;
}

namespace {

// Runs the writer once `start` has started it (false: it did not, and every
// camera is untouched).
std::vector<CameraOutcome> RunWriter(CameraLine& line, const std::vector<uint8_t>& addresses,
                                     std::vector<MultiWriteResult>* report,
                                     const std::function<bool(MultiWrite&)>& start) {
  const SteadyLinkClock clock;
  Rows rows;
  rows.report = report;
  MultiWrite write(line.Engine(), line.Session().Panel(), clock, rows);
  // The first poll may still be out: the writer starts on an idle link.
  if (!line.RunUntil([&] { return !line.Engine().LinkBusy(); }, std::chrono::seconds(10)) ||
      !start(write)) {
    for (const uint8_t address : addresses) {
      MultiWriteResult untouched;
      untouched.address = address;
      rows.CameraDone(untouched);
    }
    return rows.outcomes;
  }
  // A silent camera costs seconds, a slow line's write and read-back a minute.
  const auto limit = std::chrono::minutes(2) * static_cast<int>(addresses.size());
  if (!line.RunUntil([&] { return rows.finished; }, limit)) write.Stop();
  return rows.outcomes;
}

MultiWriteOptions Options(bool verify) {
  MultiWriteOptions options;
  options.readBack = verify;
  return options;
}

}  // namespace

std::vector<CameraOutcome> WriteCameras(CameraLine& line, const SettingsValues& values,
                                        const std::vector<uint8_t>& addresses, bool verify,
                                        std::vector<MultiWriteResult>* report) {
  ApplySettings(values, line.Session().Panel(), line.State());
  return RunWriter(line, addresses, report,
                   [&](MultiWrite& write) { return write.Start(addresses, Options(verify)); });
}

std::vector<CameraOutcome> WriteCameras(CameraLine& line, const std::vector<SettingsValues>& values,
                                        const std::vector<uint8_t>& addresses, bool verify,
                                        std::vector<MultiWriteResult>* report) {
  std::vector<MemoryPanel> panels(values.size());
  // The delay codes of the files stay out of the engine's record: no image
  // delay is written.
  CameraLinkState scratch = line.State();
  for (size_t i = 0; i < values.size(); ++i) ApplySettings(values[i], panels[i], scratch);
  return RunWriter(line, addresses, report, [&](MultiWrite& write) {
    return write.Start(addresses, panels, Options(verify));
  });
}
