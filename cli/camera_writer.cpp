#include "cli/camera_writer.h"

#include <chrono>
#include <cstring>

#include "link/camera_items.h"

namespace {

using Result = CameraOutcome::Result;

class SteadyClock : public LinkClock {
 public:
  int64_t NowMs() const override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

class Rows : public MultiWriteListener {
 public:
  // The engine's status line ("Write SHUTTER") is the progress shown.
  void WriteProgress(const MultiWriteProgress&) override {}
  void CameraDone(const MultiWriteResult& row) override { outcomes.push_back(OutcomeOf(row)); }
  void WriteFinished(bool) override { finished = true; }
  void WriteLineLost(const LineLoss&) override { finished = true; }

  std::vector<CameraOutcome> outcomes;
  bool finished = false;
};

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// "SHUTTER, ID." or "SHUTTER.": the names a row joins with commas. A list of
// differences ends as a sentence, with a full stop that "ID." brings itself.
std::vector<std::string> Names(std::string list) {
  const std::string id = FindCameraItem(kItemId)->statusWord;
  const size_t lastStart = list.rfind(", ") == std::string::npos ? 0 : list.rfind(", ") + 2;
  if (!list.empty() && list.back() == '.' && list.substr(lastStart) != id) list.pop_back();
  std::vector<std::string> names;
  for (size_t start = 0; start < list.size();) {
    const size_t comma = list.find(", ", start);
    names.push_back(list.substr(start, comma - start));
    start = comma == std::string::npos ? list.size() : comma + 2;
  }
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
  const std::string& text = row.text;
  if (text == kMultiWriteOk) return {row.address, Result::Ok, {}};
  if (text == kMultiWriteNoAnswer) return {row.address, Result::NoAnswer, {}};
  if (text == kMultiWriteStopped) return {row.address, Result::Stopped, {}};
  if (text == kMultiWriteLineLost) return {row.address, Result::LineLost, {}};
  if (StartsWith(text, kMultiWriteRefused)) {
    return {row.address, Result::Refused, Names(text.substr(std::strlen(kMultiWriteRefused)))};
  }
  if (StartsWith(text, kMultiWriteDiffers)) {
    return {row.address, Result::Differs, Names(text.substr(std::strlen(kMultiWriteDiffers)))};
  }
  // A text this tool does not know yet is still no success: shown as it is.
  return {row.address, Result::Differs, {text}};
}

std::vector<CameraOutcome> WriteCameras(CameraLine& line, const SettingsValues& values,
                                        const std::vector<uint8_t>& addresses, bool verify) {
  LinkSession& session = line.Session();
  ApplySettings(values, session.Panel(), line.State());
  const SteadyClock clock;
  Rows rows;
  MultiWrite write(line.Engine(), session.Panel(), clock, rows);
  MultiWriteOptions options;
  options.readBack = verify;
  // The first poll may still be out: the writer starts on an idle link.
  if (!line.RunUntil([&] { return !line.Engine().LinkBusy(); }, std::chrono::seconds(10)) ||
      !write.Start(addresses, options)) {
    for (const uint8_t address : addresses) rows.CameraDone({address, kMultiWriteStopped, 0});
    return rows.outcomes;
  }
  // A silent camera costs seconds, a slow line's write and read-back a minute.
  const auto limit = std::chrono::minutes(2) * static_cast<int>(addresses.size());
  if (!line.RunUntil([&] { return rows.finished; }, limit)) write.Stop();
  return rows.outcomes;
}
