#include "link/multi_write.h"

#include <algorithm>

#include "link/camera_items.h"
#include "link/item_comparison.h"

namespace {

// "SHUTTER, ID." and "SHUTTER": the names joined by commas.
std::string NameList(const std::vector<uint8_t>& items) {
  std::string text;
  for (const uint8_t item : items) text += (text.empty() ? "" : ", ") + MultiWriteItemName(item);
  return text;
}

std::string NoteList(const std::vector<uint8_t>& items) {
  std::string text;
  for (const uint8_t item : items) text += (text.empty() ? "" : ", ") + MultiWriteNoteText(item);
  return text;
}

void AddOnce(std::vector<uint8_t>& items, uint8_t item) {
  if (std::find(items.begin(), items.end(), item) == items.end()) items.push_back(item);
}

// What the row says first: the outcome, and where a cut-short write stopped.
std::string Head(const MultiWriteResult& r) {
  const std::string at = r.stoppedAt ? MultiWriteItemName(r.stoppedAt) : "read-back";
  const bool cut = r.stoppedAt || r.written;
  switch (r.outcome) {
    case MultiWriteOutcome::Ok:
      return kMultiWriteOk;
    case MultiWriteOutcome::Differs: {
      std::string text = kMultiWriteDiffers + NameList(r.items);
      if (text.back() != '.') text += '.';  // "ID." has its own
      return text;
    }
    case MultiWriteOutcome::NoAnswer:
      return cut ? "No answer at " + at : kMultiWriteNoAnswer;
    case MultiWriteOutcome::Refused: {
      if (!r.stoppedAt) return kMultiWriteRefused + NameList(r.items);
      std::vector<uint8_t> others = r.items;
      others.erase(std::remove(others.begin(), others.end(), r.stoppedAt), others.end());
      return others.empty() ? "Stopped at " + at
                            : kMultiWriteRefused + NameList(others) + "; stopped at " + at;
    }
    case MultiWriteOutcome::Stopped:
      return cut ? "Stopped at " + at : kMultiWriteStopped;
    case MultiWriteOutcome::LineLost:
      return cut ? std::string(kMultiWriteLineLost) + " at " + at : kMultiWriteLineLost;
  }
  return {};
}

}  // namespace

std::string MultiWriteItemName(uint8_t item) {
  const CameraItem* info = FindCameraItem(item);
  if (!info) return "";
  return TransferStepName(*info);
}

std::string MultiWriteNoteText(uint8_t item) {
  if (item == kItemShutter) return "SHUTTER IRIS";
  if (item == kItemSync) return "SYNC ---";
  return MultiWriteItemName(item);
}

std::string MultiWriteRowText(const MultiWriteResult& r) {
  std::string text = Head(r);
  if (!r.notWritten.empty()) text += "; not written: " + NameList(r.notWritten);
  if (!r.notes.empty()) text += " (fixed: " + NoteList(r.notes) + ")";
  return text;
}

MultiWrite::MultiWrite(QamProtocol& engine, const CameraPanel& userPanel, const LinkClock& clock,
                       MultiWriteListener& listener)
    : engine_(engine), userPanel_(userPanel), clock_(clock), listener_(listener) {}

MultiWrite::~MultiWrite() {
  if (!running_) return;
  engine_.CancelTransfer();
  SetEngineBack();
}

bool MultiWrite::Start(const std::vector<uint8_t>& addresses, const MultiWriteOptions& options) {
  if (running_) return false;
  sources_.assign(1, MemoryPanel());
  CopyPanel(userPanel_, sources_.front());
  return Begin(addresses, options);
}

bool MultiWrite::Start(const std::vector<uint8_t>& addresses,
                       const std::vector<MemoryPanel>& panels, const MultiWriteOptions& options) {
  if (running_ || panels.size() != addresses.size()) return false;
  sources_ = panels;
  return Begin(addresses, options);
}

bool MultiWrite::Begin(const std::vector<uint8_t>& addresses, const MultiWriteOptions& options) {
  if (addresses.empty() || engine_.LinkBusy() || engine_.LineGone()) return false;
  addresses_ = addresses;
  options_ = options;
  userAddress_ = engine_.Address();
  index_ = 0;
  running_ = true;
  engine_.SetTransferObserver(this);
  BeginCamera();
  return true;
}

void MultiWrite::BeginCamera() {
  if (index_ >= addresses_.size()) {
    SetEngineBack();
    listener_.WriteFinished(false);
    return;
  }
  phase_ = Phase::Write;
  refused_.clear();
  notes_.clear();
  lastItem_ = 0;
  cameraStart_ = clock_.NowMs();
  CopyPanel(Source(), writing_);
  listener_.WriteProgress({index_ + 1, addresses_.size(), addresses_[index_], ""});
  engine_.StartTransferAt(TransferKind::Write, writing_, addresses_[index_]);
}

void MultiWrite::TransferRequest(uint8_t item) {
  if (phase_ != Phase::ReadBack) lastItem_ = item;
  listener_.WriteProgress(
      {index_ + 1, addresses_.size(), addresses_[index_], MultiWriteItemName(item)});
}

void MultiWrite::WriteRefused(uint8_t item, uint8_t value) {
  // A lens that keeps the shutter on "IRIS" is the state the panel shows for
  // it, not a refusal.
  if (item == kItemShutter && value == kShutterIrisValue) {
    AddNote(item);
  } else {
    AddOnce(refused_, item);
  }
}

void MultiWrite::TransferEnded(TransferEnd end) {
  if (!running_) return;
  if (end == TransferEnd::LineLost) {
    EndLineLost();
  } else if (end == TransferEnd::Failed) {
    MultiWriteResult row = Row(MultiWriteOutcome::NoAnswer);
    MarkCutShort(row, false);
    Record(row);
  } else if (end == TransferEnd::Refused) {
    // The write stopped at the item in hand, whatever the camera answered.
    notes_.erase(std::remove(notes_.begin(), notes_.end(), lastItem_), notes_.end());
    AddOnce(refused_, lastItem_);
    MultiWriteResult row = Row(MultiWriteOutcome::Refused);
    MarkCutShort(row, true);
    Record(row);
  } else if (phase_ == Phase::Write && options_.includeImageDelay) {
    phase_ = Phase::DelayWrite;
    engine_.StartTransferAt(TransferKind::DelayWrite, writing_, addresses_[index_]);
  } else if (phase_ != Phase::ReadBack) {
    AfterWrite();
  } else {
    MultiWriteResult row = Row(MultiWriteOutcome::Ok);
    row.items = Comparison();
    row.notes = notes_;
    if (!row.items.empty()) row.outcome = MultiWriteOutcome::Differs;
    Record(row);
  }
}

void MultiWrite::AfterWrite() {
  // A refusal (an AI lens) is the row's news, whatever a read-back would show.
  MultiWriteResult row = Row(refused_.empty() ? MultiWriteOutcome::Ok : MultiWriteOutcome::Refused);
  row.written = true;
  if (row.outcome == MultiWriteOutcome::Ok && options_.readBack) {
    phase_ = Phase::ReadBack;
    engine_.StartTransferAt(TransferKind::Read, readBack_, addresses_[index_]);
  } else {
    Record(row);
  }
}

std::vector<uint8_t> MultiWrite::Comparison() {
  std::vector<uint8_t> differing;
  for (const ItemComparison& row : CompareItems(Source(), readBack_)) {
    if (row.fixedState) AddNote(row.item);
    if (row.differs) differing.push_back(row.item);
  }
  return differing;
}

void MultiWrite::AddNote(uint8_t item) {
  AddOnce(notes_, item);
}

MultiWriteResult MultiWrite::Row(MultiWriteOutcome outcome) const {
  MultiWriteResult row;
  row.address = addresses_[index_];
  row.outcome = outcome;
  row.items = refused_;
  row.notes = notes_;
  row.ms = clock_.NowMs() - cameraStart_;
  // The read-back runs only after a whole write.
  row.written = phase_ == Phase::ReadBack;
  return row;
}

void MultiWrite::MarkCutShort(MultiWriteResult& row, bool evenUntouched) const {
  if (row.written || lastItem_ == 0) return;
  // Silence or a stop at the first item leaves the camera as it was.
  if (!evenUntouched && phase_ == Phase::Write && lastItem_ == kTransferOrder.front()) return;
  row.stoppedAt = lastItem_;
  if (phase_ != Phase::Write) return;
  const auto at = std::find(kTransferOrder.begin(), kTransferOrder.end(), lastItem_);
  if (at != kTransferOrder.end()) row.notWritten.assign(at + 1, kTransferOrder.end());
  if (options_.includeImageDelay) row.notWritten.push_back(kDelayTransferOrder.front());
}

void MultiWrite::Record(MultiWriteResult row) {
  row.text = MultiWriteRowText(row);
  listener_.CameraDone(row);
  ++index_;
  BeginCamera();
}

void MultiWrite::Stop() {
  if (!running_) return;
  engine_.CancelTransfer();
  EndRun(MultiWriteOutcome::Stopped);
  listener_.WriteFinished(true);
}

void MultiWrite::EndLineLost() {
  const LineLoss loss{addresses_[index_], engine_.LineBaud()};
  EndRun(MultiWriteOutcome::LineLost);
  listener_.WriteLineLost(loss);
}

void MultiWrite::EndRun(MultiWriteOutcome inHand) {
  MultiWriteResult row = Row(inHand);
  MarkCutShort(row, false);
  row.text = MultiWriteRowText(row);
  listener_.CameraDone(row);
  for (size_t i = index_ + 1; i < addresses_.size(); ++i) {
    MultiWriteResult untouched;
    untouched.address = addresses_[i];
    untouched.text = MultiWriteRowText(untouched);
    listener_.CameraDone(untouched);
  }
  SetEngineBack();
}

void MultiWrite::SetEngineBack() {
  running_ = false;
  engine_.SetTransferObserver(nullptr);
  engine_.SetBackToUser(userAddress_);
  // The user's camera is polled at the next tick, soon.
  engine_.RestartWatchdog();
}
