#include "link/line_scan.h"

#include <algorithm>

#include "link/line_speeds.h"

namespace {

// Silence is decided by the reply's start byte, not by the whole reply: a
// camera answers after the poll's line time and the guard time before the
// line turns round, and its start byte reaches the program within the
// camera's turnaround allowance and the adapter allowance after that.
// Turnaround allowance: cameras answer within a few milliseconds (the
// simulator at once); 24 ms also holds a USB adapter's latency timer (16 ms
// where low latency is not granted) behind such a camera.
// Adapter allowance: an on-board UART hands received bytes over once eight
// are in its FIFO, so the start byte comes with the eighth.
// 1200: 150 + 16 + 24 = 190 ms; 2400: 111 ms; 4800: 66 ms; 9600: 48 ms.
constexpr int kTurnaroundMs = 24;
constexpr size_t kFifoBytes = 8;
// A reply that has started is read to its end: after each piece, the bytes
// still missing, the four quiet byte times after which a UART hands over
// what its FIFO holds, and a gap for a USB adapter's latency timer and a
// camera that sends its reply in pieces. A line that never falls quiet
// still ends the window after so many pieces.
constexpr size_t kQuietBytes = 4;
constexpr int kPieceGapMs = 40;
constexpr unsigned kMaxPieces = 2 * kFrameSize;

int WireMs(size_t bytes, int bitsPerSecond) {
  const int bits = static_cast<int>(bytes) * 10 * 1000;
  return (bits + bitsPerSecond - 1) / bitsPerSecond;
}

double WireMsExact(size_t bytes, int bitsPerSecond) {
  return static_cast<double>(bytes) * 10.0 * 1000.0 / bitsPerSecond;
}

// The codes in their first order, each once: a rate given twice is scanned once.
std::vector<uint8_t> Distinct(const std::vector<uint8_t>& codes) {
  std::vector<uint8_t> distinct;
  for (const uint8_t code : codes) {
    if (std::find(distinct.begin(), distinct.end(), code) == distinct.end())
      distinct.push_back(code);
  }
  return distinct;
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
  return WireMs(kFrameSize + kFifoBytes, baud) + GuardTimeMs(baud) + kTurnaroundMs;
}

double LineScan::FloorMs(uint8_t speedCode, int addresses, int found) {
  const int baud = BaudOfCode(speedCode);
  if (baud == 0) return 0;
  const double poll = WireMsExact(kFrameSize, baud) + GuardTimeMs(baud) + kTurnaroundMs;
  // A camera's reply, its confirming poll and the reply to that.
  const double camera = poll + 2 * WireMsExact(kFrameSize, baud);
  return addresses * poll + found * camera;
}

int64_t LineScan::PlanMs(const LineScanPlan& plan) {
  if (plan.firstAddress > plan.lastAddress) return 0;
  const int64_t addresses = plan.lastAddress - plan.firstAddress + 1;
  int64_t ms = 0;
  for (const uint8_t code : Distinct(plan.speedCodes)) ms += addresses * ReplyWindowMs(code);
  return ms;
}

bool LineScan::Start(const LineScanPlan& plan) {
  if (running_ || !port_.Enabled() || plan.speedCodes.empty() ||
      plan.firstAddress > plan.lastAddress)
    return false;
  for (const uint8_t code : plan.speedCodes) {
    if (code >= kLineSpeedCount) return false;
  }
  if (port_.Gone() || !engine_.Pause(*this)) return false;
  plan_ = plan;
  plan_.speedCodes = Distinct(plan.speedCodes);
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
  pollAgain_ = true;
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
  heard_ = false;
  pieces_ = 0;
  engine_.SendFrame(frame, kFrameSize);
  replyTimer_.Restart(ReplyWindowMs(SpeedCode()));
}

void LineScan::ReceiveBytes(const uint8_t* bytes, size_t count) {
  if (!running_ || count == 0) return;
  heard_ = true;
  for (size_t i = 0; i < count; ++i) {
    if (rx_.empty() && bytes[i] != kFrameStart) continue;
    rx_.push_back(bytes[i]);
    if (rx_.size() < kFrameSize) continue;
    const Reply reply = Judge(rx_.data());
    if (reply != Reply::Other) {
      rx_.clear();
      AfterReply(reply);
      return;  // the rest belongs to the answer to a poll no longer asked
    }
    // Another address or code is noise, and a stray start byte before a
    // reply must not cost the reply: look again from the next start byte.
    const auto next = std::find(rx_.begin() + 1, rx_.end(), kFrameStart);
    rx_.erase(rx_.begin(), next);
  }
  if (!rx_.empty() && pieces_ < kMaxPieces) {
    ++pieces_;
    const int baud = BaudOfCode(SpeedCode());
    replyTimer_.Restart(WireMs(kFrameSize - rx_.size() + kQuietBytes, baud) + kPieceGapMs);
  }
}

LineScan::Reply LineScan::Judge(const uint8_t* frame) const {
  if (frame[kFrameMark1] != kFrameMark || frame[kFrameMark2] != kFrameMark ||
      frame[kFrameAddress] != Address())
    return Reply::Other;
  if (frame[kFrameChecksum] != FrameChecksum(frame)) return Reply::Garbled;
  return ReplyAccepted(frame, Address()) && frame[kFrameCode] == kReplyPoll ? Reply::Good
                                                                            : Reply::Other;
}

void LineScan::AfterReply(Reply reply) {
  replyTimer_.Stop();
  ++(reply == Reply::Good ? goodReplies_ : garbledReplies_);
  // A Stop waits for the window's end: the reply that ended it still counts.
  if (goodReplies_ >= kAnswersToDecide) {
    listener_.ScanFound({Address(), SpeedCode(), ""});
  } else if (garbledReplies_ >= kAnswersToDecide) {
    listener_.ScanFound({Address(), SpeedCode(), kDuplicateAddressRemark});
  } else if (!stopAsked_) {
    SendPoll();
    return;
  }
  if (stopAsked_) {
    Finish(true);
  } else {
    NextAddress();
  }
}

void LineScan::ReplyTimerTimer() {
  replyTimer_.Stop();
  if (!running_) return;
  if (stopAsked_) {
    Finish(true);
  } else if (heard_ && pollAgain_) {
    // Bytes without a clean reply: a camera may have been drowned out once.
    pollAgain_ = false;
    SendPoll();
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
