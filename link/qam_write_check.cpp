// Checks a write reply against the panel, and ends a write that the camera
// keeps refusing.
#include "link/camera_items.h"
#include "link/qam_intervals.h"
#include "link/qam_protocol.h"

namespace {

const char* const kAiLensNotice = "Camera is in AI Lens mode ,shutter can't setting AUTO";

// Marks a notice open for as long as it is on the screen.
class OpenNotice {
 public:
  explicit OpenNotice(bool& open) : open_(open) { open_ = true; }
  ~OpenNotice() { open_ = false; }
  OpenNotice(const OpenNotice&) = delete;
  OpenNotice& operator=(const OpenNotice&) = delete;

 private:
  bool& open_;
};

}  // namespace

bool QamProtocol::CheckWriteReply(uint8_t item, uint8_t value, uint8_t extra) {
  const CameraItem* info = FindCameraItem(item);
  if (!info) return false;
  bool confirmed = false;
  if (item == kItemShutter) {
    confirmed = CheckShutterWrite(value);
  } else if (item == kItemSync) {
    confirmed = PanelValue(*panel_, s_.state, item, nullptr) == value || value == kSyncDCValue;
  } else if (item == kItemId) {
    return CheckIdWrite(value, extra);
  } else {
    // The value the panel writes, so a list without a selection (0xFF) can
    // be confirmed too.
    confirmed = PanelValue(*panel_, s_.state, item, nullptr) == value;
  }
  if (confirmed) SetItemPending(s_.state, item, false);
  return confirmed;
}

bool QamProtocol::CheckShutterWrite(uint8_t value) {
  const uint8_t selected = PanelValue(*panel_, s_.state, kItemShutter, nullptr);
  if (selected == value) return true;
  if (selected != 0) return false;
  // A camera with an AI lens keeps its own shutter: tell the user once and
  // take the camera's value over, shown as a report of it would be (9 as "IRIS").
  // A caller that follows the transfer records it instead.
  if (observer_) {
    observer_->WriteRefused(kItemShutter, value);
  } else {
    const OpenNotice open(noticeOpen_);
    s_.window.ShowInformation(kAiLensNotice);
  }
  ApplyShutterReport(*panel_, value);
  return true;
}

bool QamProtocol::CheckIdWrite(uint8_t position, uint8_t character) {
  CameraLinkState& st = s_.state;
  // A position past the ID text has no place in it: not a confirmation.
  if (position >= kIdLength) return false;
  const std::string text = panel_->IdEditText();
  if (position < text.size() && static_cast<uint8_t>(text[position]) != character) return false;
  if (++st.IdIndex >= kIdLength) {
    st.IdIndex = 0;
    SetItemPending(st, kItemId, false);
  }
  return true;
}

void QamProtocol::CountRefusedWrite(bool confirmed) {
  const CameraLinkState& st = s_.state;
  if (confirmed || !(st.WriteBusy || st.DelayWriteBusy)) {
    refusedWrites_ = 0;
  } else {
    ++refusedWrites_;
  }
}

void QamProtocol::EndRefusedWrite(uint8_t value) {
  // Ends the write as a silent camera would, but the lamp stays: the camera
  // answers, it only will not take the value.
  CameraLinkState& st = s_.state;
  refusedWrites_ = 0;
  if (observer_) observer_->WriteRefused(refusedItem_, value);
  if (st.DelayWriteBusy) {
    FailDelayTransfer();
  } else if (st.WriteBusy) {
    s_.window.SetMainStatus("WRITE ERROR..");
    st.WriteBusy = 0;
  }
  s_.existTimer.Restart(kIdleWatchdogMs);
  ReportTransferEnd(TransferEnd::Refused);
}
