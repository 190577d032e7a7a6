// Every frame on the line while the camera link polls as the window does,
// one line each: seconds since the start, TX for what the tool sent or RX
// for what it received, the bytes, and their meaning. A received frame ends
// where the engine's receiver is ready for the next one (a whole frame taken,
// or a stray byte or a broken frame dropped); a sent one is what one handler
// wrote.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/frame_text.h"
#include "cli/line_bytes.h"
#include "cli/result_output.h"

int RunMonitor(CameraLine& line, const LineOptions& options, LineBytes& lineBytes, double seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Json frames = Json::array();
  const auto show = [&](const char* direction, const LineBytes::Piece& piece) {
    // The first poll leaves as the line starts, a moment before this clock.
    const double at = std::max(0.0, std::chrono::duration<double>(piece.last - start).count());
    const std::string hex = FrameHex(piece.bytes);
    const std::string meaning = FrameMeaning(piece.bytes);
    if (options.json) {
      frames.push_back(Json{{"seconds", std::round(at * 1000) / 1000},
                            {"direction", direction},
                            {"bytes", hex},
                            {"meaning", meaning}});
    } else {
      char stamp[32];
      std::snprintf(stamp, sizeof stamp, "%.3f", at);
      WriteOut(std::string(stamp) + " " + direction + " " + hex + " " + meaning + "\n");
    }
  };
  const auto takeFrames = [&] {
    bool received = !lineBytes.Received().bytes.empty() && line.State().RxCount == 0;
    const bool sent = !lineBytes.Sent().bytes.empty();
    // Both waiting: the older first.
    if (received && sent && lineBytes.Received().last < lineBytes.Sent().last) {
      show("RX", lineBytes.TakeReceived());
      received = false;
    }
    if (sent) show("TX", lineBytes.TakeSent());
    if (received) show("RX", lineBytes.TakeReceived());
  };
  const auto limit = seconds > 0 ? std::chrono::milliseconds(static_cast<long>(seconds * 1000))
                                 : std::chrono::milliseconds(std::chrono::hours(24 * 365));
  line.RunUntil(
      [&] {
        takeFrames();
        // A reader that went away (or a full disk) ends the watch.
        return OutputFailed();
      },
      limit);
  if (options.json) PrintResult(true, {}, Json{{"frames", frames}});
  return kExitDone;
}
