// The Image Delay Time dialog: its two day/night delay codes read or written.
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/result_output.h"

int RunDelay(CameraLine& line, const LineOptions& options, const std::optional<DelayCodes>& write) {
  if (!line.ConnectOrSay(static_cast<uint8_t>(options.address))) return kExitCameraFailed;
  CameraLinkState& state = line.State();
  if (write) {
    // As the dialog's lists set them.
    state.ColToWbCode = DelayCodeOfPosition(write->colToWb);
    state.WbToColCode = DelayCodeOfPosition(write->wbToCol);
    line.Engine().WriteImageDelayClick();
  } else {
    line.Engine().ReadImageDelayClick();
  }
  if (!line.RunTransfer()) return kExitCameraFailed;
  if (line.Engine().LastTransferEnd() != TransferEnd::Finished) {
    Complain(line.Answering() ? "camera " + std::to_string(options.address) + " refused the delay"
                              : "camera " + std::to_string(options.address) + " stopped answering");
    return kExitCameraFailed;
  }
  const int colToWb = DelayPositionOfCode(state.ColToWbCode);
  const int wbToCol = DelayPositionOfCode(state.WbToColCode);
  PrintResult(options.json,
              "col-to-wb " + std::to_string(colToWb) + " wb-to-col " + std::to_string(wbToCol),
              Json{{"col_to_wb", colToWb}, {"wb_to_col", wbToCol}});
  return kExitDone;
}
