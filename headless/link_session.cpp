#include "headless/link_session.h"

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "link/line_speeds.h"

TBaudRate BaudRateOf(int bitsPerSecond) {
  return CodeOfBaud(bitsPerSecond) < 0 ? br9600 : BaudRateOfSpeed(bitsPerSecond).value_or(br9600);
}

LinkSession::LinkSession(const PortWrap& wrap)
    : loop_(std::make_shared<MainLoop>()),
      comm_(loop_),
      commPort_(comm_),
      timedPort_(commPort_),
      existTimer_(*loop_, [this] { engine_->ExistTimerTimer(); }),
      qamProtocolTimer_(*loop_, [this] { engine_->QamProtocolTimerTimer(); }) {
  LinkPort& enginePort = wrap ? wrap(timedPort_) : timedPort_;
  engine_ = std::make_unique<QamProtocol>(QamProtocolServices{
      state_, address_, panel_, window_, enginePort, existTimer_, qamProtocolTimer_, sleep_});
  comm_.OnRxChar = [this](TThreadComm&, uint32_t count) { OnRxChar(count); };
  comm_.OnTxEmpty = [this](TThreadComm&) { engine_->Comm1TxEmpty(); };
  comm_.OnGone = [this](TThreadComm&) {
    lineLost_ = true;
    engine_->Comm1Gone();
  };
}

LinkSession::~LinkSession() {
  // The event thread may wait in a hand-over: release it before the port goes.
  loop_->Shutdown();
  comm_.Close();
}

bool LinkSession::Open(const std::string& device, int baud) {
  comm_.SetDeviceName(device);
  comm_.SetBaudRate(BaudRateOf(baud));
  const int code = CodeOfBaud(baud);
  window_.CheckBaud(static_cast<uint8_t>(code < 0 ? kBaudCode9600 : code));
  comm_.Open();
  if (!comm_.Enabled()) {
    comm_.Close();
    return false;
  }
  try {
    comm_.SetRTSState(true);
    comm_.SetDTRState(true);
  } catch (const ECommError&) {
    // A port without modem lines still carries the bytes.
  }
  return true;
}

void LinkSession::Close() {
  comm_.Close();
}

void LinkSession::Start() {
  SetPanelDefaults(panel_, state_);
  engine_->Start();
}

bool LinkSession::Idle() const {
  return window_.lamp == LampColour::Lime && !LinkBusy(state_) && state_.AwaitingReply == 0;
}

bool LinkSession::WaitLinked(std::chrono::milliseconds limit) {
  return loop_->RunUntil([this] { return Idle(); }, limit);
}

void LinkSession::OnRxChar(uint32_t count) {
  const long framesBefore = timedPort_.FramesStarted();
  const bool awaiting = state_.AwaitingReply != 0;
  engine_->Comm1RxChar(count);
  if (timedPort_.FramesStarted() != framesBefore || (awaiting && state_.AwaitingReply == 0)) {
    ++accepted_;
  }
}
