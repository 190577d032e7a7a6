// Get Protocol State: the camera on the line, searched for at every speed.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/protocol_names.h"
#include "cli/result_output.h"

int RunState(CameraLine& line, const LineOptions& options) {
  line.Engine().GetRS422SETS1Click();
  if (!line.RunTransfer()) return kExitCameraFailed;
  const HeadlessWindow& window = line.Window();
  if (window.mainStatus != "Finish") {
    Complain("no camera answered at any speed");
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
