// Every frame the camera link receives while it polls as the window does,
// one line each: seconds since the start, the bytes, and their meaning where
// one is known. A frame ends where the engine's receiver is ready for the
// next one (a whole frame taken, or a stray byte or a broken frame dropped).
#include <cmath>
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/received_bytes.h"
#include "cli/result_output.h"
#include "cli/stop_signal.h"

int RunMonitor(CameraLine& line, const LineOptions& options, ReceivedBytes& received,
               double seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Json frames = Json::array();
  const auto takeFrame = [&] {
    if (received.Empty() || line.State().RxCount != 0) return;
    const double at = std::chrono::duration<double>(received.LastTime() - start).count();
    const std::vector<uint8_t> bytes = received.Take();
    const std::string hex = FrameHex(bytes);
    const std::string meaning = FrameMeaning(bytes);
    if (options.json) {
      Json frame = {{"seconds", std::round(at * 1000) / 1000}, {"bytes", hex}};
      if (!meaning.empty()) frame["meaning"] = meaning;
      frames.push_back(frame);
    } else {
      std::printf("%.3f %s%s%s\n", at, hex.c_str(), meaning.empty() ? "" : " ", meaning.c_str());
      std::fflush(stdout);
    }
  };
  const auto limit = seconds > 0 ? std::chrono::milliseconds(static_cast<long>(seconds * 1000))
                                 : std::chrono::milliseconds(std::chrono::hours(24 * 365));
  line.RunUntil(
      [&] {
        takeFrame();
        return false;
      },
      limit);
  if (options.json) PrintResult(true, {}, Json{{"frames", frames}});
  return kExitDone;
}
