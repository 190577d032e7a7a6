// Back Up Line: each address of a list is read in turn through the engine's
// own Read Camera into a scratch panel, and the panel is handed to the
// listener (which saves it: settings/line_book.h). The user's panel never
// changes; the engine's address is restored afterwards. Runs like
// MultiWrite: one camera at a time, Stop, and a port that dies ends the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/camera_panel.h"
#include "link/line_loss.h"
#include "link/link_services.h"
#include "link/memory_panel.h"
#include "link/qam_protocol.h"
#include "link/transfer_observer.h"

enum class LineBackupOutcome : uint8_t {
  Read,      // every item came back: `panel` holds the camera's settings
  NoAnswer,  // the camera fell silent
  Stopped,   // the user stopped the run (also a camera not reached)
  LineLost,  // the port's device went while this camera was in hand
};

struct LineBackupProgress {
  size_t camera;  // 1..count
  size_t count;
  uint8_t address;
  std::string item;  // the status word of the item just requested; empty at a camera's start
};

struct LineBackupResult {
  uint8_t address = 0;
  LineBackupOutcome outcome = LineBackupOutcome::Stopped;
  // The scratch panel the camera was read into; complete only when Read.
  // Valid during the listener's call only.
  const CameraPanel* panel = nullptr;
  int64_t ms = 0;  // time taken; 0 for a camera never started
};

class LineBackupListener {
 public:
  virtual ~LineBackupListener() = default;
  virtual void BackupProgress(const LineBackupProgress& progress) = 0;
  // Once for every address of the list, in order.
  virtual void CameraRead(const LineBackupResult& result) = 0;
  // The address is back and the engine polls it again.
  virtual void BackupFinished(bool stopped) = 0;
  // Instead of BackupFinished: the port's device went; the camera in hand
  // is LineLost, those not reached Stopped.
  virtual void BackupLineLost(const LineLoss& loss) = 0;
};

class LineBackup : public TransferObserver {
 public:
  LineBackup(QamProtocol& engine, const LinkClock& clock, LineBackupListener& listener);
  // A running backup is cancelled and the engine set back; the listener is not told.
  ~LineBackup() override;
  LineBackup(const LineBackup&) = delete;
  LineBackup& operator=(const LineBackup&) = delete;

  // False (nothing done) for an empty list, while the engine is busy or a
  // backup runs, or on a port whose device has gone.
  bool Start(const std::vector<uint8_t>& addresses);
  // Ends at once: the camera in hand and those not reached are "Stopped".
  void Stop();
  bool Running() const { return running_; }

  // TransferObserver.
  void TransferRequest(uint8_t item) override;
  void WriteRefused(uint8_t, uint8_t) override {}
  void TransferEnded(TransferEnd end) override;

 private:
  void BeginCamera();
  void Record(LineBackupOutcome outcome);
  void EndRun(LineBackupOutcome inHand);
  void SetEngineBack();

  QamProtocol& engine_;
  const LinkClock& clock_;
  LineBackupListener& listener_;
  MemoryPanel scratch_;  // a fresh one for each camera
  std::vector<uint8_t> addresses_;
  bool running_ = false;
  size_t index_ = 0;
  uint8_t userAddress_ = 0;
  int64_t cameraStart_ = 0;
};
