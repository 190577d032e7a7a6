#include "link/line_scan.h"

#include "link/line_speeds.h"

namespace {

// The reply window: the poll's and the reply's time on the wire (ten bytes
// of ten bits each), the guard time before RTS turns the line round, the
// camera's turnaround and some slack. The simulator answers at once (its
// reply delay is 0 by default) and cameras within a few milliseconds, so
// 20 ms of turnaround is generous; 25 ms of slack covers a USB adapter's
// latency timer (16 ms by default) and timer granularity.
// 1200: 2 * 84 + 16 + 20 + 25 = 229 ms; 2400: 141 ms; 4800: 91 ms; 9600: 72 ms.
constexpr int kTurnaroundMs = 20;
constexpr int kSlackMs = 25;

int FrameWireMs(int bitsPerSecond) {
  constexpr int bits = static_cast<int>(kFrameSize) * 10 * 1000;
  return (bits + bitsPerSecond - 1) / bitsPerSecond;
}

// An address that answers twice is a camera, one garbled twice two cameras;
// three answers always settle one or the other.
constexpr unsigned kAnswersToDecide = 2;

}  // namespace

std::vector<uint8_t> LineScanPlan::AllSpeedCodes() {
  std::vector<uint8_t> codes;
  for (size_t code = 0; code < kLineSpeedCount; ++code) codes.push_back(static_cast<uint8_t>(code));
  return codes;
}

LineScan::LineScan(QamProtocol& engine, LinkPort& port, LinkTimer& replyTimer,
                   LineScanListener& listener)
    : engine_(engine), port_(port), replyTimer_(replyTimer), listener_(listener) {}

LineScan::~LineScan() {
  // The listener may be gone already: end without telling it.
  if (!running_) return;
  replyTimer_.Stop();
  port_.SetBaudRate(portBaud_);
  engine_.Resume();
}

int LineScan::ReplyWindowMs(uint8_t speedCode) {
  const int baud = BaudOfCode(speedCode);
  if (baud == 0) return 0;
  return 2 * FrameWireMs(baud) + GuardTimeMs(baud) + kTurnaroundMs + kSlackMs;
}

int64_t LineScan::PlanMs(const LineScanPlan& plan) {
  if (plan.firstAddress > plan.lastAddress) return 0;
  const int64_t addresses = plan.lastAddress - plan.firstAddress + 1;
  int64_t ms = 0;
  for (const uint8_t code : plan.speedCodes) ms += addresses * ReplyWindowMs(code);
  return ms;
}

bool LineScan::Start(const LineScanPlan& plan) {
  if (running_ || plan.speedCodes.empty() || plan.firstAddress > plan.lastAddress) return false;
  for (const uint8_t code : plan.speedCodes) {
    if (code >= kLineSpeedCount) return false;
  }
  if (port_.Gone() || !engine_.Pause(*this)) return false;
  plan_ = plan;
  running_ = true;
  stopAsked_ = false;
  portBaud_ = port_.BaudRate();
  step_ = 0;
  BeginAddress();
  return true;
}

void LineScan::Stop() {
  if (running_) stopAsked_ = true;
}

size_t LineScan::AddressCount() const {
  return static_cast<size_t>(plan_.lastAddress - plan_.firstAddress + 1);
}

uint8_t LineScan::SpeedCode() const {
  return plan_.speedCodes[step_ / AddressCount()];
}

uint8_t LineScan::Address() const {
  return static_cast<uint8_t>(plan_.firstAddress + step_ % AddressCount());
}

void LineScan::BeginAddress() {
  const int baud = BaudOfCode(SpeedCode());
  if (port_.BaudRate() != baud) port_.SetBaudRate(baud);
  goodReplies_ = 0;
  garbledReplies_ = 0;
  const size_t total = plan_.speedCodes.size() * AddressCount();
  int64_t msLeft = 0;
  for (size_t step = step_; step < total; ++step)
    msLeft += ReplyWindowMs(plan_.speedCodes[step / AddressCount()]);
  listener_.ScanProgress({SpeedCode(), Address(),
                          static_cast<double>(step_) / static_cast<double>(total),
                          static_cast<int>(msLeft)});
  SendPoll();
}

void LineScan::SendPoll() {
  // The frame the watchdog sends, through the engine's own transmission.
  uint8_t frame[kFrameSize];
  BuildPollFrame(frame, Address(), engine_.ProtocolCode());
  rx_.clear();
  engine_.SendFrame(frame, kFrameSize);
  replyTimer_.Restart(ReplyWindowMs(SpeedCode()));
}

void LineScan::ReceiveBytes(const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count && running_; ++i) {
    if (rx_.empty() && bytes[i] != kFrameStart) continue;
    rx_.push_back(bytes[i]);
    if (rx_.size() < kFrameSize) continue;
    const Reply reply = Judge(rx_.data());
    rx_.clear();
    // Anything else (another address, another code) is noise: wait on.
    if (reply != Reply::Other) {
      AfterReply(reply);
      return;  // the rest belongs to the answer to a poll no longer asked
    }
  }
}

LineScan::Reply LineScan::Judge(const uint8_t* frame) const {
  if (frame[kFrameAddress] != Address()) return Reply::Other;
  if (frame[kFrameChecksum] != FrameChecksum(frame)) return Reply::Garbled;
  return ReplyAccepted(frame, Address()) && frame[kFrameCode] == kReplyPoll ? Reply::Good
                                                                            : Reply::Other;
}

void LineScan::AfterReply(Reply reply) {
  replyTimer_.Stop();
  ++(reply == Reply::Good ? goodReplies_ : garbledReplies_);
  if (stopAsked_) {
    Finish(true);
  } else if (goodReplies_ >= kAnswersToDecide) {
    listener_.ScanFound({Address(), SpeedCode(), ""});
    NextAddress();
  } else if (garbledReplies_ >= kAnswersToDecide) {
    listener_.ScanFound({Address(), SpeedCode(), kDuplicateAddressRemark});
    NextAddress();
  } else {
    SendPoll();
  }
}

void LineScan::ReplyTimerTimer() {
  replyTimer_.Stop();
  if (!running_) return;
  if (stopAsked_) {
    Finish(true);
  } else {
    NextAddress();
  }
}

void LineScan::NextAddress() {
  if (++step_ >= plan_.speedCodes.size() * AddressCount()) {
    Finish(false);
  } else {
    BeginAddress();
  }
}

void LineScan::Finish(bool stopped) {
  GiveLineBack();
  listener_.ScanFinished(stopped);
}

void LineScan::LineGone() {
  if (!running_) return;
  const LineLoss loss{Address(), BaudOfCode(SpeedCode())};
  GiveLineBack();
  listener_.ScanLineLost(loss);
}

void LineScan::GiveLineBack() {
  replyTimer_.Stop();
  running_ = false;
  rx_.clear();
  port_.SetBaudRate(portBaud_);
  engine_.Resume();
}
