#include "link/line_backup.h"

#include "link/multi_write.h"

LineBackup::LineBackup(QamProtocol& engine, const LinkClock& clock, LineBackupListener& listener)
    : engine_(engine), clock_(clock), listener_(listener) {}

LineBackup::~LineBackup() {
  if (!running_) return;
  engine_.CancelTransfer();
  SetEngineBack();
}

bool LineBackup::Start(const std::vector<uint8_t>& addresses) {
  if (running_ || addresses.empty() || engine_.LinkBusy() || engine_.LineGone()) return false;
  addresses_ = addresses;
  userAddress_ = engine_.Address();
  index_ = 0;
  running_ = true;
  engine_.SetTransferObserver(this);
  BeginCamera();
  return true;
}

void LineBackup::BeginCamera() {
  if (index_ >= addresses_.size()) {
    SetEngineBack();
    listener_.BackupFinished(false);
    return;
  }
  // Nothing of the camera before may show through in this one's file.
  scratch_ = MemoryPanel();
  cameraStart_ = clock_.NowMs();
  listener_.BackupProgress({index_ + 1, addresses_.size(), addresses_[index_], ""});
  engine_.StartTransferAt(TransferKind::Read, scratch_, addresses_[index_]);
}

void LineBackup::TransferRequest(uint8_t item) {
  listener_.BackupProgress(
      {index_ + 1, addresses_.size(), addresses_[index_], MultiWriteItemName(item)});
}

void LineBackup::TransferEnded(TransferEnd end) {
  if (!running_) return;
  if (end == TransferEnd::LineLost) {
    const LineLoss loss{addresses_[index_], engine_.LineBaud()};
    EndRun(LineBackupOutcome::LineLost);
    listener_.BackupLineLost(loss);
    return;
  }
  // A read has no refusal: anything but the whole read is silence.
  Record(end == TransferEnd::Finished ? LineBackupOutcome::Read : LineBackupOutcome::NoAnswer);
  ++index_;
  BeginCamera();
}

void LineBackup::Record(LineBackupOutcome outcome) {
  LineBackupResult row;
  row.address = addresses_[index_];
  row.outcome = outcome;
  row.panel = &scratch_;
  row.ms = clock_.NowMs() - cameraStart_;
  listener_.CameraRead(row);
}

void LineBackup::Stop() {
  if (!running_) return;
  engine_.CancelTransfer();
  EndRun(LineBackupOutcome::Stopped);
  listener_.BackupFinished(true);
}

void LineBackup::EndRun(LineBackupOutcome inHand) {
  Record(inHand);
  for (size_t i = index_ + 1; i < addresses_.size(); ++i) {
    LineBackupResult untouched;
    untouched.address = addresses_[i];
    listener_.CameraRead(untouched);
  }
  SetEngineBack();
}

void LineBackup::SetEngineBack() {
  running_ = false;
  engine_.SetTransferObserver(nullptr);
  engine_.SetBackToUser(userAddress_);
  // The user's camera is polled at the next tick, soon.
  engine_.RestartWatchdog();
}
