// Write to Several Cameras: the panel as it stands goes to each address of a
// list in turn through the engine's own Write Camera transfer, optionally
// with the image delay times, and is read back into a scratch panel and
// compared. The user's panel never changes; the engine's address is
// restored afterwards.
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

// The result texts of a camera's row.
inline constexpr const char* kMultiWriteOk = "OK";
inline constexpr const char* kMultiWriteNoAnswer = "No answer";
inline constexpr const char* kMultiWriteStopped = "Stopped";
// The camera in hand when the port's device went.
inline constexpr const char* kMultiWriteLineLost = "Line lost";
inline constexpr const char* kMultiWriteDiffers = "Differs: ";  // then "SHUTTER, ID."
inline constexpr const char* kMultiWriteRefused = "Refused: ";  // then "SHUTTER"

struct MultiWriteOptions {
  bool includeImageDelay = false;  // also the image delay write
  bool readBack = true;            // read back and compare the panel items
};

struct MultiWriteProgress {
  size_t camera;  // 1..count
  size_t count;
  uint8_t address;
  std::string item;  // the status word of the item just requested; empty at a camera's start
};

enum class MultiWriteOutcome : uint8_t {
  Ok,        // written, and read back the same when asked
  Differs,   // read back with other values: `items`
  NoAnswer,  // the camera fell silent
  Refused,   // the camera answered writes of `items` with values of its own
  Stopped,   // the user stopped the run
  LineLost,  // the port's device went while this camera was in hand
};

struct MultiWriteResult {
  uint8_t address = 0;
  MultiWriteOutcome outcome = MultiWriteOutcome::Stopped;
  std::vector<uint8_t> items;  // what differs, or what was refused
  // A write cut short: the item it stopped at (never confirmed) and those
  // after it, never written (the image delay as 0x21). 0 and empty when the
  // camera was written whole or not at all.
  uint8_t stoppedAt = 0;
  std::vector<uint8_t> notWritten;
  bool written = false;  // every item written and confirmed
  // Items the camera holds in a state of its own, as its panel would show
  // them: SYNC "---" (fixed by its power supply), SHUTTER "IRIS".
  std::vector<uint8_t> notes;
  std::string text;  // the row as shown, from the values above
  int64_t ms = 0;    // time taken; 0 for a camera never started
};

// The word a row names an item by: its status word; "IMAGE DELAY" for 0x21 and 0x22.
std::string MultiWriteItemName(uint8_t item);
// "SYNC ---", "SHUTTER IRIS": a note of the row.
std::string MultiWriteNoteText(uint8_t item);
// The row's text: "OK", "Differs: SHUTTER, ID.", "Stopped at GAIN; not
// written: SYNC, GAMMA", "OK (fixed: SYNC ---)".
std::string MultiWriteRowText(const MultiWriteResult& result);

class MultiWriteListener {
 public:
  virtual ~MultiWriteListener() = default;
  virtual void WriteProgress(const MultiWriteProgress& progress) = 0;
  // Once for every address of the list, in order.
  virtual void CameraDone(const MultiWriteResult& result) = 0;
  // The address is back and the engine polls it again.
  virtual void WriteFinished(bool stopped) = 0;
  // Instead of WriteFinished: the port's device went and the run ended at
  // once; the camera in hand is "Line lost", those not reached "Stopped".
  virtual void WriteLineLost(const LineLoss& loss) = 0;
};

class MultiWrite : public TransferObserver {
 public:
  MultiWrite(QamProtocol& engine, const CameraPanel& userPanel, const LinkClock& clock,
             MultiWriteListener& listener);
  // A running write is cancelled and the engine set back; the listener is not told.
  ~MultiWrite() override;
  MultiWrite(const MultiWrite&) = delete;
  MultiWrite& operator=(const MultiWrite&) = delete;

  // Takes the user's panel as it stands and starts on the first address.
  // False (nothing done) for an empty list, while the engine is busy or a
  // write runs, or on a port whose device has gone.
  bool Start(const std::vector<uint8_t>& addresses, const MultiWriteOptions& options);
  // Restore Line: each camera gets settings of its own, `panels[i]` to
  // `addresses[i]` (copied now), with the same rows and read-back. False
  // also when the two lists differ in length.
  bool Start(const std::vector<uint8_t>& addresses, const std::vector<MemoryPanel>& panels,
             const MultiWriteOptions& options);
  // Ends at once: the camera in hand says how far it got, those not reached
  // are "Stopped".
  void Stop();
  bool Running() const { return running_; }

  // TransferObserver.
  void TransferRequest(uint8_t item) override;
  void WriteRefused(uint8_t item, uint8_t value) override;
  void TransferEnded(TransferEnd end) override;

 private:
  enum class Phase : uint8_t { Write, DelayWrite, ReadBack };

  bool Begin(const std::vector<uint8_t>& addresses, const MultiWriteOptions& options);
  void BeginCamera();
  const MemoryPanel& Source() const { return sources_[sources_.size() == 1 ? 0 : index_]; }
  void AfterWrite();
  // The row of the camera in hand, as far as it got.
  MultiWriteResult Row(MultiWriteOutcome outcome) const;
  // Where a write that did not reach its end stopped; `evenUntouched`: also
  // at the first item.
  void MarkCutShort(MultiWriteResult& row, bool evenUntouched) const;
  void Record(MultiWriteResult row);
  std::vector<uint8_t> Comparison();
  void AddNote(uint8_t item);
  void EndLineLost();
  // The camera in hand ends as `inHand`, those not reached as "Stopped".
  void EndRun(MultiWriteOutcome inHand);
  void SetEngineBack();

  QamProtocol& engine_;
  const CameraPanel& userPanel_;
  const LinkClock& clock_;
  MultiWriteListener& listener_;
  // What each camera gets: one panel for all (the user's at the start), or
  // one for each address.
  std::vector<MemoryPanel> sources_;
  MemoryPanel writing_;   // a fresh copy for each camera: an AI lens changes it
  MemoryPanel readBack_;  // what the camera holds
  std::vector<uint8_t> addresses_;
  MultiWriteOptions options_;
  bool running_ = false;
  size_t index_ = 0;
  uint8_t userAddress_ = 0;
  Phase phase_ = Phase::Write;
  int64_t cameraStart_ = 0;
  std::vector<uint8_t> refused_;  // items the camera answered with another value
  std::vector<uint8_t> notes_;    // items the camera holds in a state of its own
  uint8_t lastItem_ = 0;          // the item last requested by a write
};
