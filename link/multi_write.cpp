#include "link/multi_write.h"

#include <algorithm>

#include "link/camera_items.h"

namespace {

// The word a row names an item by: its status word; the two image delay
// items have none of their own.
std::string ItemName(uint8_t item) {
  const CameraItem* info = FindCameraItem(item);
  if (!info) return "";
  return *info->statusWord ? info->statusWord : "IMAGE DELAY";
}

// "SHUTTER, ID." and "SHUTTER": the names joined by commas.
std::string NameList(const std::vector<uint8_t>& items) {
  std::string text;
  for (const uint8_t item : items) text += (text.empty() ? "" : ", ") + ItemName(item);
  return text;
}

// The value a camera would report for a panel item; a shown alternative list
// ("IRIS", "---") counts as its special value.
int ReportedValue(const CameraPanel& panel, const CameraItem& item) {
  if (item.code == kItemShutter && panel.Visible(PanelControl::ShutterIris))
    return panel.ItemIndex(PanelControl::ShutterIris);
  if (item.code == kItemSync && panel.Visible(PanelControl::SyncDC))
    return panel.ItemIndex(PanelControl::SyncDC);
  return item.kind == ItemKind::Gain ? panel.Position(item.control) : panel.ItemIndex(item.control);
}

// The ID text as the camera holds it: sixteen characters, blank-padded.
std::string PaddedId(const CameraPanel& panel) {
  std::string text = panel.IdEditText().substr(0, kIdLength);
  text.resize(kIdLength, ' ');
  return text;
}

}  // namespace

MultiWrite::MultiWrite(QamProtocol& engine, const CameraPanel& userPanel, const LinkClock& clock,
                       MultiWriteListener& listener)
    : engine_(engine), userPanel_(userPanel), clock_(clock), listener_(listener) {}

MultiWrite::~MultiWrite() {
  if (!running_) return;
  engine_.CancelTransfer();
  SetEngineBack();
}

bool MultiWrite::Start(const std::vector<uint8_t>& addresses, const MultiWriteOptions& options) {
  if (running_ || addresses.empty() || engine_.LinkBusy() || engine_.LineGone()) return false;
  CopyPanel(userPanel_, source_);
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
  cameraStart_ = clock_.NowMs();
  CopyPanel(source_, writing_);
  engine_.UsePanel(&writing_);
  engine_.SetAddress(addresses_[index_]);
  listener_.WriteProgress({index_ + 1, addresses_.size(), addresses_[index_], ""});
  // The first request goes now, or at the next watchdog tick while an
  // earlier request still waits for its reply.
  engine_.WriteButtonClick();
}

void MultiWrite::TransferRequest(uint8_t item) {
  listener_.WriteProgress({index_ + 1, addresses_.size(), addresses_[index_], ItemName(item)});
}

void MultiWrite::WriteRefused(uint8_t item) {
  if (std::find(refused_.begin(), refused_.end(), item) == refused_.end()) refused_.push_back(item);
}

void MultiWrite::TransferEnded(TransferEnd end) {
  if (!running_) return;
  if (end == TransferEnd::LineLost) {
    EndLineLost();
  } else if (end == TransferEnd::Failed) {
    Record(kMultiWriteNoAnswer);
  } else if (end == TransferEnd::Refused) {
    Record(kMultiWriteRefused + NameList(refused_));
  } else if (phase_ == Phase::Write && options_.includeImageDelay) {
    phase_ = Phase::DelayWrite;
    engine_.WriteImageDelayClick();
  } else if (phase_ != Phase::ReadBack) {
    AfterWrite();
  } else {
    const std::string differs = Comparison();
    Record(differs.empty() ? kMultiWriteOk : kMultiWriteDiffers + differs);
  }
}

void MultiWrite::AfterWrite() {
  // A refusal (an AI lens) is the row's news, whatever a read-back would show.
  if (!refused_.empty()) {
    Record(kMultiWriteRefused + NameList(refused_));
  } else if (options_.readBack) {
    phase_ = Phase::ReadBack;
    engine_.UsePanel(&readBack_);
    engine_.ReadButtonClick();
  } else {
    Record(kMultiWriteOk);
  }
}

std::string MultiWrite::Comparison() const {
  std::vector<uint8_t> differing;
  for (const uint8_t code : kTransferOrder) {
    const CameraItem* item = FindCameraItem(code);
    const bool same = code == kItemId
                          ? PaddedId(source_) == PaddedId(readBack_)
                          : ReportedValue(source_, *item) == ReportedValue(readBack_, *item);
    if (!same) differing.push_back(code);
  }
  if (differing.empty()) return "";
  std::string text = NameList(differing);
  if (text.back() != '.') text += '.';  // "ID." has its own
  return text;
}

void MultiWrite::Record(const std::string& text) {
  listener_.CameraDone({addresses_[index_], text, clock_.NowMs() - cameraStart_});
  ++index_;
  BeginCamera();
}

void MultiWrite::Stop() {
  if (!running_) return;
  engine_.CancelTransfer();
  listener_.CameraDone({addresses_[index_], kMultiWriteStopped, clock_.NowMs() - cameraStart_});
  for (size_t i = index_ + 1; i < addresses_.size(); ++i)
    listener_.CameraDone({addresses_[i], kMultiWriteStopped, 0});
  SetEngineBack();
  listener_.WriteFinished(true);
}

void MultiWrite::EndLineLost() {
  const LineLoss loss{addresses_[index_], engine_.LineBaud()};
  listener_.CameraDone({addresses_[index_], kMultiWriteLineLost, clock_.NowMs() - cameraStart_});
  for (size_t i = index_ + 1; i < addresses_.size(); ++i)
    listener_.CameraDone({addresses_[i], kMultiWriteStopped, 0});
  SetEngineBack();
  listener_.WriteLineLost(loss);
}

void MultiWrite::SetEngineBack() {
  running_ = false;
  engine_.SetTransferObserver(nullptr);
  engine_.UsePanel(nullptr);
  engine_.SetAddress(userAddress_);
  // The user's camera is polled at the next tick, soon.
  engine_.RestartWatchdog();
}
