// Get Protocol State: the camera on the line, searched for at every speed.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/line_bytes.h"
#include "cli/protocol_names.h"
#include "cli/result_output.h"
#include "link/camera_frames.h"
#include "link/line_splitter.h"

namespace {

// Bytes that make no good frame: replies that ran into each other (or noise).
bool Garbled(const std::vector<uint8_t>& bytes) {
  LineSplitter splitter;
  std::vector<LinePiece> pieces = splitter.Feed(bytes.data(), bytes.size(), 0);
  for (LinePiece& piece : splitter.Abandon()) pieces.push_back(std::move(piece));
  for (const LinePiece& piece : pieces) {
    if (piece.kind != LinePieceKind::Frame) return true;
    if (FrameChecksum(piece.bytes.data()) != piece.bytes[kFrameChecksum]) return true;
  }
  return false;
}

}  // namespace

int RunState(CameraLine& line, const LineOptions& options, LineBytes& lineBytes) {
  line.Engine().GetRS422SETS1Click();
  if (!line.RunTransfer()) return kExitCameraFailed;
  const HeadlessWindow& window = line.Window();
  if (line.Engine().LastTransferEnd() != TransferEnd::Finished) {
    // The search asks address 0, which every camera answers.
    Complain(Garbled(lineBytes.TakeReceived().bytes)
                 ? "several cameras answered at once and their replies collided: Get Protocol "
                   "State needs one camera alone on the line"
                 : "no camera answered at any speed");
    return kExitCameraFailed;
  }
  const int address = window.shownAddress;
  const int baud = BaudOfCode(window.baudCode);
  const std::string protocol = ProtocolName(window.protocolCode);
  PrintResult(
      options.json,
      "address " + std::to_string(address) + ", " + std::to_string(baud) + " baud, " + protocol,
      Json{{"address", address}, {"baud", baud}, {"protocol", protocol}});
  return kExitDone;
}
