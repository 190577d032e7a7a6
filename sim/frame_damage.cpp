#include "sim/frame_damage.h"

#include "link/camera_frames.h"
#include "link/line_splitter.h"

namespace {

// Keeps the damage's chances apart from the noise's, which use the seed as given.
constexpr uint32_t kDamageSeedOffset = 0x5EED;

}  // namespace

FrameDamage::FrameDamage(double rate, uint32_t seed)
    : rate_(rate), random_(seed + kDamageSeedOffset) {}

FrameDamage::Plan FrameDamage::Draw() {
  Plan plan;
  plan.lose = std::uniform_int_distribution<int>(0, 1)(random_) == 1;
  plan.position = std::uniform_int_distribution<size_t>(0, kFrameSize - 1)(random_);
  plan.bit = std::uniform_int_distribution<int>(0, 7)(random_);
  return plan;
}

std::string FrameDamage::Describe(const Plan& plan) {
  const std::string byte = "byte " + std::to_string(plan.position);
  return plan.lose ? byte + " lost" : byte + " bit " + std::to_string(plan.bit) + " flipped";
}

std::string FrameDamage::Damage(std::vector<uint8_t>& frame) {
  if (rate_ <= 0.0 || std::uniform_real_distribution<double>(0.0, 1.0)(random_) >= rate_) {
    return {};
  }
  Plan plan = Draw();
  if (plan.position >= frame.size()) return {};
  if (plan.lose) {
    frame.erase(frame.begin() + static_cast<long>(plan.position));
  } else {
    frame[plan.position] ^= static_cast<uint8_t>(1u << plan.bit);
  }
  return Describe(plan);
}

std::vector<uint8_t> FrameDamage::Hear(const uint8_t* data, size_t count, int64_t nowUs,
                                       std::vector<std::string>& notes) {
  std::vector<uint8_t> heard;
  if (heard_ >= 0 && nowUs - lastUs_ >= kInterByteTimeoutUs) heard_ = -1;
  lastUs_ = nowUs;
  for (size_t i = 0; i < count; ++i) {
    uint8_t byte = data[i];
    if (heard_ < 0 && byte == kFrameStart) {
      heard_ = 0;
      planned_ = rate_ > 0.0 && std::uniform_real_distribution<double>(0.0, 1.0)(random_) < rate_;
      if (planned_) plan_ = Draw();
    }
    if (heard_ < 0) {
      heard.push_back(byte);
      continue;
    }
    const bool hit = planned_ && static_cast<size_t>(heard_) == plan_.position;
    if (++heard_ >= static_cast<long>(kFrameSize)) heard_ = -1;
    if (!hit) {
      heard.push_back(byte);
      continue;
    }
    notes.push_back(Describe(plan_));
    if (plan_.lose) continue;
    byte ^= static_cast<uint8_t>(1u << plan_.bit);
    heard.push_back(byte);
  }
  return heard;
}
