// Feeds the camera link arbitrary bytes in arbitrary receive events, with
// gaps that let the inter-byte and watchdog timers fire, and checks what the
// engine must never do: hold more than a frame, or let a value into the panel
// that no accepted reply carried.
// needs: zelta_link_rig

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/camera_frames.h"
#include "tests/link/support/link_rig.h"

namespace {

// The panel controls a reply can change, with the item that feeds each.
struct Watched {
  PanelControl control;
  uint8_t item;
};
const Watched kWatched[] = {
    {PanelControl::DNModeSel, 0x01},       {PanelControl::DNLevelSel, 0x02},
    {PanelControl::DNFilSel, 0x03},        {PanelControl::ShutterSel, 0x04},
    {PanelControl::ShutterIris, 0x04},     {PanelControl::GainSel, 0x05},
    {PanelControl::SyncSel, 0x06},         {PanelControl::SyncDC, 0x06},
    {PanelControl::BlcSel, 0x07},          {PanelControl::SharpnessSel, 0x08},
    {PanelControl::WhiteBalSel, 0x09},     {PanelControl::IDPosSel, 0x0B},
    {PanelControl::GammaSel, 0x0C},        {PanelControl::PredtmspSel, 0x0D},
    {PanelControl::ColToWbComboBox, 0x21}, {PanelControl::WbToColComboBox, 0x22},
};

struct Snapshot {
  std::vector<int> lists;
  int red, blue;
  std::string id;
};

Snapshot Take(const MemoryPanel& panel) {
  Snapshot s;
  for (const Watched& w : kWatched) s.lists.push_back(panel.ItemIndex(w.control));
  s.red = panel.Position(PanelControl::RedUpDown);
  s.blue = panel.Position(PanelControl::BlueUpDown);
  s.id = panel.IdEditText();
  return s;
}

// The receiver as the protocol defines it, used as the reference for which
// frames the engine may act on.
class ReferenceReceiver {
 public:
  // Adds the complete frames the bytes finish to `frames`; true when any byte
  // was stored (which restarts the inter-byte time).
  bool Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& frames) {
    bool stored = false;
    for (size_t i = 0; i < count; ++i) {
      if (frame_.empty() && bytes[i] != kFrameStart) continue;
      stored = true;
      frame_.push_back(bytes[i]);
      if (frame_.size() == kFrameSize) {
        frames.push_back(frame_);
        frame_.clear();
      }
    }
    return stored;
  }
  bool Collecting() const { return !frame_.empty(); }
  void Timeout() { frame_.clear(); }

 private:
  std::vector<uint8_t> frame_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LinkRig rig;
  rig.camera.silent = true;
  rig.Start();
  ReferenceReceiver reference;
  VirtualUs lastStored = rig.Now();
  uint8_t address = rig.cameraAddress;

  size_t pos = 0;
  while (pos + 2 <= size) {
    // Gaps below and above the 200 ms inter-byte time; an event may also
    // carry no byte, so short gaps add up.
    const uint8_t gapByte = data[pos++];
    const VirtualUs gap = (gapByte & 0x80) ? Ms(260 + (gapByte & 0x7F) * 8) : Ms(gapByte % 150);
    const size_t wanted = data[pos++] % 48;
    const size_t length = std::min(wanted, size - pos);
    rig.RunFor(gap);
    if (reference.Collecting() && rig.Now() - lastStored >= Ms(200)) reference.Timeout();

    const Snapshot before = Take(rig.panel);
    std::vector<std::vector<uint8_t>> frames;
    if (reference.Feed(data + pos, length, frames)) lastStored = rig.Now();
    rig.Deliver(std::vector<uint8_t>(data + pos, data + pos + length));
    pos += length;

    if (rig.state.RxCount > kFrameSize) std::abort();

    // Items that an accepted read or write reply carried in this event.
    std::vector<uint8_t> carried;
    for (const auto& frame : frames) {
      if (!ReplyAccepted(frame.data(), address)) continue;
      if (frame[4] == kReplyProtocolState) address = frame[3];
      if (frame[4] == kReplyRead || frame[4] == kReplyWrite) carried.push_back(frame[5]);
    }
    if (address != rig.cameraAddress) std::abort();

    const auto wasCarried = [&](uint8_t item) {
      for (uint8_t c : carried) {
        if (c == item) return true;
      }
      return false;
    };
    const Snapshot after = Take(rig.panel);
    for (size_t i = 0; i < before.lists.size(); ++i) {
      if (before.lists[i] != after.lists[i] && !wasCarried(kWatched[i].item)) std::abort();
    }
    if (before.red != after.red && !wasCarried(kItemRedGain)) std::abort();
    if (before.blue != after.blue && !wasCarried(kItemBlueGain)) std::abort();
    if (before.id != after.id && !wasCarried(kItemId)) std::abort();
  }
  return 0;
}
