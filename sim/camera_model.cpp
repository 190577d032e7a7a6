#include "sim/camera_model.h"

#include "link/camera_items.h"
#include "link/line_speeds.h"

namespace {

bool IsDelayCode(uint8_t value) {
  return value <= 3 || value == kDelayCodeSpecial;
}

}  // namespace

size_t WritableCount(uint8_t item) {
  const CameraItem* entry = FindCameraItem(item);
  if (entry == nullptr || entry->kind != ItemKind::List) return 0;
  return ListEntries(entry->control).size();
}

CameraModel::CameraModel(const TCameraConfig& config) : config_(config) {
  for (const CameraItem& item : CameraItems()) {
    if (item.kind != ItemKind::IdText) values_[item.code] = item.defaultValue;
  }
  if (config_.iris) values_[kItemShutter] = kShutterIrisValue;
  if (config_.dcSync) values_[kItemSync] = kSyncDCValue;
  for (const auto& [item, value] : config_.startValues) {
    if (values_.count(item) != 0) values_[item] = value;
  }
  if (config_.hasIdText) {
    for (size_t i = 0; i < id_.size(); ++i) {
      id_[i] = i < config_.idText.size() ? static_cast<uint8_t>(config_.idText[i]) : 0x20;
    }
  }
}

uint8_t CameraModel::Value(uint8_t item) const {
  const auto found = values_.find(item);
  return found == values_.end() ? 0 : found->second;
}

std::string CameraModel::IdText() const {
  std::string text;
  for (const uint8_t c : id_) {
    if (c == 0) break;
    text += static_cast<char>(c);
  }
  return text;
}

void CameraModel::PollReply(uint8_t* reply) const {
  BuildReplyFrame(reply, config_.address, kReplyPoll, 0, 0, 0);
}

void CameraModel::ReadReply(uint8_t item, uint8_t position, uint8_t* reply) const {
  if (item == kItemId) {
    // A position the camera does not have is answered with no character.
    const uint8_t c = position < id_.size() ? id_[position] : 0;
    BuildReplyFrame(reply, config_.address, kReplyRead, item, position, c);
    return;
  }
  BuildReplyFrame(reply, config_.address, kReplyRead, item, Value(item), 0);
}

void CameraModel::ProtocolStateReply(uint8_t* reply) const {
  const int code = CodeOfBaud(config_.baud);
  BuildReplyFrame(reply, config_.address, kReplyProtocolState, static_cast<uint8_t>(code),
                  static_cast<uint8_t>(config_.protocol), 0);
}

bool CameraModel::Valid(uint8_t item, uint8_t value) const {
  const CameraItem* entry = FindCameraItem(item);
  if (entry == nullptr) return false;
  switch (entry->kind) {
    case ItemKind::List:
      return value < WritableCount(item);
    case ItemKind::Gain:
      return value <= kGainMax;
    case ItemKind::Delay:
      return IsDelayCode(value);
    case ItemKind::IdText:
      return false;
  }
  return false;
}

uint8_t CameraModel::OtherValue(uint8_t item, uint8_t written) const {
  const uint8_t held = Value(item);
  if (held != written) return held;
  const CameraItem* entry = FindCameraItem(item);
  size_t count = 256;
  if (entry != nullptr && entry->kind == ItemKind::List) count = WritableCount(item);
  if (entry != nullptr && entry->kind == ItemKind::Gain) count = kGainMax + 1;
  if (entry != nullptr && entry->kind == ItemKind::Delay) count = 4;
  if (count < 2) return static_cast<uint8_t>(written + 1u);
  return static_cast<uint8_t>((written + 1u) % count);
}

void CameraModel::Write(uint8_t item, uint8_t value, uint8_t extra, uint8_t* reply) {
  const uint8_t address = config_.address;
  if (item == kItemId) {
    if (value >= id_.size()) {
      BuildReplyFrame(reply, address, kReplyWrite, item, value, 0);
      return;
    }
    if (config_.refused.count(item) != 0) {
      const uint8_t other = id_[value] != extra ? id_[value] : (extra == 'X' ? 'Y' : 'X');
      BuildReplyFrame(reply, address, kReplyWrite, item, value, other);
      return;
    }
    if (IsIdChar(static_cast<char>(extra))) id_[value] = extra;
    BuildReplyFrame(reply, address, kReplyWrite, item, value, id_[value]);
    return;
  }
  if (values_.count(item) == 0) {
    BuildReplyFrame(reply, address, kReplyWrite, item, 0, 0);
    return;
  }
  if (config_.refused.count(item) != 0) {
    BuildReplyFrame(reply, address, kReplyWrite, item, OtherValue(item, value), 0);
    return;
  }
  const bool aiLensRefusal = config_.aiLens && item == kItemShutter && value == 0;
  const bool dcKeepsSync = config_.dcSync && item == kItemSync;
  if (!aiLensRefusal && !dcKeepsSync && Valid(item, value)) values_[item] = value;
  BuildReplyFrame(reply, address, kReplyWrite, item, Value(item), 0);
}

bool CameraModel::SetFromMenu(uint8_t item, uint8_t value) {
  if (values_.count(item) == 0 || !Valid(item, value)) return false;
  if (config_.dcSync && item == kItemSync) return false;
  values_[item] = value;
  return true;
}
