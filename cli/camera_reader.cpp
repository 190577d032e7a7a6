#include "cli/camera_reader.h"

#include <chrono>

#include "headless/steady_link_clock.h"

namespace {

class Rows : public LineBackupListener {
 public:
  Rows(const std::function<void(const LineBackupResult&)>& each, std::optional<LineLoss>& loss)
      : each_(each), loss_(loss) {}
  // The engine's status line ("Read SHUTTER") is the progress shown.
  void BackupProgress(const LineBackupProgress&) override {}
  void CameraRead(const LineBackupResult& row) override { each_(row); }
  void BackupFinished(bool) override { finished = true; }
  void BackupLineLost(const LineLoss& where) override {
    loss_ = where;
    finished = true;
  }
  bool finished = false;

 private:
  const std::function<void(const LineBackupResult&)>& each_;
  std::optional<LineLoss>& loss_;
};

}  // namespace

void ReadCameras(CameraLine& line, const std::vector<uint8_t>& addresses,
                 const std::function<void(const LineBackupResult&)>& each,
                 std::optional<LineLoss>& loss) {
  const SteadyLinkClock clock;
  Rows rows(each, loss);
  LineBackup backup(line.Engine(), clock, rows);
  // The first poll may still be out: the reader starts on an idle link.
  if (!line.RunUntil([&] { return !line.Engine().LinkBusy(); }, std::chrono::seconds(10)) ||
      !backup.Start(addresses)) {
    for (const uint8_t address : addresses) {
      LineBackupResult untouched;
      untouched.address = address;
      each(untouched);
    }
    return;
  }
  // A silent camera costs seconds, a slow line's read a minute.
  const auto limit = std::chrono::minutes(2) * static_cast<int>(addresses.size());
  if (!line.RunUntil([&] { return rows.finished; }, limit)) backup.Stop();
}
