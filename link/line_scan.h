// Find Cameras: polls every address of a range at each chosen speed, with the
// engine's own link paused, and reports the cameras that answer. Runs on the
// main thread through the engine's services, so the window, the command-line
// tool and the tests (virtual clock) drive it alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/camera_frames.h"
#include "link/line_loss.h"
#include "link/link_services.h"
#include "link/qam_protocol.h"

// The remark of an address whose replies come back garbled twice.
inline constexpr const char* kDuplicateAddressRemark = "two cameras on this address?";

struct LineScanPlan {
  std::vector<uint8_t> speedCodes = AllSpeedCodes();  // rows of kLineSpeeds, in scan order
  uint8_t firstAddress = 1;
  uint8_t lastAddress = 199;

  static std::vector<uint8_t> AllSpeedCodes();
};

struct LineScanProgress {
  uint8_t speedCode;
  uint8_t address;
  double fractionDone;  // 0..1, of the plan's polls counted one per address
  int msLeft;           // if every address left stays silent
};

struct LineScanFind {
  uint8_t address;
  uint8_t speedCode;
  std::string remark;  // empty, or kDuplicateAddressRemark
};

class LineScanListener {
 public:
  virtual ~LineScanListener() = default;
  // At each new address, before its first poll.
  virtual void ScanProgress(const LineScanProgress& progress) = 0;
  virtual void ScanFound(const LineScanFind& find) = 0;
  // The port is back at its rate and the engine's link polls again.
  virtual void ScanFinished(bool stopped) = 0;
  // Instead of ScanFinished: the port's device went mid-scan and the scan
  // ended at once. The finds so far stand; the rest of the plan was not scanned.
  virtual void ScanLineLost(const LineLoss& loss) = 0;
};

class LineScan : public LinkByteSink {
 public:
  // `replyTimer` is the scan's own timer; its handler must call ReplyTimerTimer.
  LineScan(QamProtocol& engine, LinkPort& port, LinkTimer& replyTimer, LineScanListener& listener);
  // A running scan ends at once (port rate and link restored, listener not told).
  ~LineScan() override;
  LineScan(const LineScan&) = delete;
  LineScan& operator=(const LineScan&) = delete;

  // Pauses the engine and sends the first poll; a speed given twice is
  // scanned once. False (nothing done) while the port is closed or its device
  // has gone, the engine is busy or a scan runs, or for a plan without speeds,
  // with a speed code past the table or an empty address range.
  bool Start(const LineScanPlan& plan);
  // Ends the scan when the reply window now running closes; a camera the
  // window's reply confirms is still reported.
  void Stop();
  bool Running() const { return running_; }

  // The reply timer's handler: the window closed without a reply.
  void ReplyTimerTimer();
  // While running, the engine hands every received byte here.
  void ReceiveBytes(const uint8_t* bytes, size_t count) override;
  // The engine's word that the port has gone: the scan ends now.
  void LineGone() override;

  // How long the scan waits for the start of a reply to one poll at a
  // speed: an address silent this long is silent.
  static int ReplyWindowMs(uint8_t speedCode);
  // The least time the line needs for a scan of `addresses` at a speed that
  // finds `found` cameras: per address the poll's line time, the guard time
  // and the camera's turnaround; per camera its reply, the confirming poll and
  // the reply to that.
  static double FloorMs(uint8_t speedCode, int addresses, int found);
  // The time a plan takes when nobody answers.
  static int64_t PlanMs(const LineScanPlan& plan);

 private:
  enum class Reply : uint8_t { Good, Garbled, Other };

  size_t AddressCount() const;
  uint8_t SpeedCode() const;
  uint8_t Address() const;
  Reply Judge(const uint8_t* frame) const;
  void BeginAddress();
  void SendPoll();
  void AfterReply(Reply reply);
  void NextAddress();
  void Finish(bool stopped);
  // The port back at its rate and the engine's link resumed.
  void GiveLineBack();

  QamProtocol& engine_;
  LinkPort& port_;
  LinkTimer& replyTimer_;
  LineScanListener& listener_;
  LineScanPlan plan_;
  bool running_ = false;
  bool stopAsked_ = false;
  int portBaud_ = 0;  // the rate before the scan
  size_t step_ = 0;   // speed index * addresses + address index
  unsigned goodReplies_ = 0;
  unsigned garbledReplies_ = 0;
  bool pollAgain_ = true;  // the address may still be polled once more for bytes without a reply
  bool heard_ = false;     // bytes came since the last poll
  unsigned pieces_ = 0;    // pieces of a started reply since the last poll
  std::vector<uint8_t> rx_;
};
