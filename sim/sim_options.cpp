#include "sim/sim_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "link/line_speeds.h"
#include "sim/camera_model.h"

namespace {

// Decimal, or hexadecimal with 0x; the whole text must be the number.
bool ParseNumber(const std::string& text, long min, long max, long& value) {
  if (text.empty()) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* start = text.c_str() + (hex ? 2 : 0);
  if (*start == '-' || *start == '+' || std::isspace(static_cast<unsigned char>(*start))) {
    return false;
  }
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(start, &end, hex ? 16 : 10);
  if (errno != 0 || end == start || *end != '\0') return false;
  if (parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

bool ParseRate(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(parsed >= 0.0 && parsed <= 1.0)) return false;
  value = parsed;
  return true;
}

std::string Normalized(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

bool ParseProtocol(const std::string& text, PtzProtocol& protocol) {
  const std::string name = Normalized(text);
  if (name == "PELCOP" || name == "P" || name == "0") {
    protocol = PtzProtocol::PelcoP;
  } else if (name == "PELCOD" || name == "D" || name == "1") {
    protocol = PtzProtocol::PelcoD;
  } else if (name == "ERNITEC" || name == "E" || name == "2") {
    protocol = PtzProtocol::Ernitec;
  } else {
    return false;
  }
  return true;
}

// Options that take a value; the rest are switches.
bool TakesValue(const std::string& name) {
  static const char* const names[] = {
      "address",
      "baud",
      "protocol",
      "device",
      "link",
      "trace",
      "set",
      "id",
      "white-bal",
      "delay-code",
      "refuse",
      "reply-delay",
      "adapter-latency",
      "noise",
      "silent-after",
      "seed",
  };
  for (const char* known : names) {
    if (name == known) return true;
  }
  return false;
}

std::string ApplyValue(const std::string& name, const std::string& value, TSimOptions& options) {
  TCameraConfig& camera = options.camera;
  long number = 0;
  const std::string bad = "invalid value '" + value + "' for --" + name;
  if (name == "address") {
    if (!ParseNumber(value, 1, 255, number)) return bad + " (1..255)";
    camera.address = static_cast<uint8_t>(number);
  } else if (name == "baud") {
    if (!ParseNumber(value, 1, 1000000, number) || CodeOfBaud(static_cast<int>(number)) < 0) {
      return bad + " (1200, 2400, 4800 or 9600)";
    }
    camera.baud = static_cast<int>(number);
  } else if (name == "protocol") {
    if (!ParseProtocol(value, camera.protocol)) return bad + " (pelco-p, pelco-d or ernitec)";
  } else if (name == "device") {
    if (value.empty()) return bad;
    options.device = value;
  } else if (name == "link") {
    if (value.empty()) return bad;
    options.link = value;
  } else if (name == "trace") {
    if (value.empty()) return bad;
    options.traceFile = value;
  } else if (name == "set") {
    const size_t equals = value.find('=');
    if (equals == std::string::npos) return bad + " (ITEM=VALUE)";
    const int item = ParseItemName(value.substr(0, equals));
    if (item < 0) return "unknown item '" + value.substr(0, equals) + "' in --set";
    if (item == kItemId) return "the ID text is set with --id TEXT";
    if (!ParseNumber(value.substr(equals + 1), 0, 255, number)) return bad + " (value 0..255)";
    camera.startValues[static_cast<uint8_t>(item)] = static_cast<uint8_t>(number);
  } else if (name == "id") {
    if (value.size() > kIdLength) return bad + " (at most 16 characters)";
    for (const char c : value) {
      if (!IsIdChar(c)) return bad + " (A-Z, 0-9, blank and < > - . , ; * / :)";
    }
    camera.hasIdText = true;
    camera.idText = value;
  } else if (name == "white-bal") {
    if (!ParseNumber(value, 0, 255, number)) return bad + " (0..255)";
    camera.startValues[kItemWhiteBal] = static_cast<uint8_t>(number);
  } else if (name == "delay-code") {
    if (!ParseNumber(value, 0, 255, number)) return bad + " (0..255, e.g. 0x50)";
    camera.startValues[kItemColToWb] = static_cast<uint8_t>(number);
    camera.startValues[kItemWbToCol] = static_cast<uint8_t>(number);
  } else if (name == "refuse") {
    const int item = ParseItemName(value);
    if (item < 0) return "unknown item '" + value + "' for --refuse";
    camera.refused.insert(static_cast<uint8_t>(item));
  } else if (name == "reply-delay") {
    if (!ParseNumber(value, 0, 60000, number)) return bad + " (0..60000 ms)";
    camera.replyDelayMs = static_cast<int>(number);
  } else if (name == "adapter-latency") {
    if (!ParseNumber(value, 0, 1000, number)) return bad + " (0..1000 ms)";
    camera.adapterLatencyMs = static_cast<int>(number);
  } else if (name == "noise") {
    if (!ParseRate(value, camera.noiseRate)) return bad + " (a chance from 0 to 1)";
  } else if (name == "silent-after") {
    if (!ParseNumber(value, 0, 1000000000, number)) return bad + " (0 or more)";
    camera.silentAfter = number;
  } else if (name == "seed") {
    if (!ParseNumber(value, 0, 0xFFFFFFFFL, number)) return bad;
    camera.seed = static_cast<uint32_t>(number);
  }
  return {};
}

std::string ApplySwitch(const std::string& name, TSimOptions& options) {
  if (name == "help") {
    options.help = true;
  } else if (name == "version") {
    options.version = true;
  } else if (name == "iris") {
    options.camera.iris = true;
  } else if (name == "dc-sync") {
    options.camera.dcSync = true;
  } else if (name == "ai-lens") {
    options.camera.aiLens = true;
  } else if (name == "line-timing") {
    options.camera.lineTiming = true;
  } else if (name == "split") {
    options.camera.split = true;
  } else if (name == "trace-us") {
    options.traceMicroseconds = true;
  } else {
    return "unknown option --" + name;
  }
  return {};
}

}  // namespace

int ParseItemName(const std::string& text) {
  long number = 0;
  if (ParseNumber(text, 0, 255, number)) {
    return FindCameraItem(static_cast<uint8_t>(number)) != nullptr ? static_cast<int>(number) : -1;
  }
  const std::string name = Normalized(text);
  if (name.empty()) return -1;
  for (const CameraItem& item : CameraItems()) {
    if (Normalized(ItemName(item.code)) == name || Normalized(item.label) == name ||
        Normalized(item.statusWord) == name) {
      return item.code;
    }
  }
  return -1;
}

std::string ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      return "unexpected argument '" + arg + "'";
    }
    std::string name = arg.substr(2);
    std::string value;
    const size_t equals = name.find('=');
    const bool inlineValue = equals != std::string::npos;
    if (inlineValue) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    std::string error;
    if (TakesValue(name)) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) return "option --" + name + " needs a value";
        value = args[++i];
      }
      error = ApplyValue(name, value, options);
    } else {
      if (inlineValue) return "option --" + name + " takes no value";
      error = ApplySwitch(name, options);
    }
    if (!error.empty()) return error;
  }
  if (!options.device.empty() && !options.link.empty()) {
    return "--link makes a link to a pseudo-terminal; it cannot be used with --device";
  }
  return {};
}

std::string SimHelpText() {
  return R"(Usage: zelta-camsim [options]

Simulates a CCTV camera on a serial line for the ZELTA set-up tool. Without
--device it opens a pseudo-terminal and prints the path of its slave side in
the ready line; the tool (or a test) opens that path like a serial port.

Line:
  --device PATH        serve a real serial port instead (e.g. across a
                       null-modem cable); it is locked like ZELTA locks it
  --link PATH          make PATH a symbolic link to the pseudo-terminal (a
                       stale link is replaced; removed again on exit), e.g.
                       --link /tmp/x/Com1 lets ZELTA find the camera as Com1
  --address N          camera address 1..255 (default 1)
  --baud N             the camera's own rate: 1200, 2400, 4800 or 9600
                       (default 4800); frames sent at another line speed
                       are ignored, so a search finds it at this rate only
  --protocol NAME      PTZ protocol it obeys: pelco-p, pelco-d or ernitec
                       (default pelco-p)

Starting values (any byte, so odd values can be served):
  --set ITEM=VALUE     e.g. --set SHUTTER=3, --set "WHITE BAL"=1, --set 0x81=40;
                       ITEM is a code or a name: D/N-MODE D/N-LEVEL D/N-FIL
                       SHUTTER GAIN SYNC BLC APERTURE WHITE-BAL ID-POS GAMMA
                       PREDTMSP Red Blue COL>BW-DELAY (0x21) BW>COL-DELAY (0x22)
  --id TEXT            ID text (up to 16 of A-Z 0-9 blank < > - . , ; * / :),
                       padded with blanks; without it the ID is 16 zero bytes
  --white-bal N        WHITE BAL value (3 and above mean MANUAL)
  --delay-code N       both day/night delay codes (0..3, or 0x50)

Behaviours:
  --iris               the camera reports SHUTTER 9 (IRIS) until a shutter
                       value is written
  --dc-sync            the camera reports SYNC 2 (---) and keeps it on writes
  --ai-lens            refuses a write of SHUTTER 0 (AUTO) and answers with its
                       own shutter value (with --iris that is 9, as on a
                       camera with an auto-iris lens)
  --refuse ITEM        answers writes of ITEM with another value and keeps its
                       own (may be given more than once)
  --reply-delay MS     waits MS milliseconds before each reply
  --adapter-latency MS hands each piece of a reply over MS milliseconds late,
                       as a USB adapter's latency timer does
  --line-timing        takes a request as heard once its bytes would have
                       crossed the line, and sends each reply byte after the
                       time it takes at the line's speed (10 bits a byte)
  --split              sends each reply in three pieces with 30 ms gaps
  --noise RATE         before a reply, with chance RATE (0..1), sends 1 to 3
                       random bytes (never 0xCC)
  --seed N             seed of the noise (default 1)
  --silent-after N     answers N replies, then nothing more

Output:
  --trace FILE         write the trace to FILE instead of standard output
  --trace-us           stamp trace lines with the system's monotonic clock
                       (CLOCK_MONOTONIC) in seconds and microseconds, so a
                       program on the same machine can line them up with
                       its own timing
  --help               show this text
  --version            show the version

The camera answers poll 0x02 with 0x82, read 0x01 with 0x81, write 0x03 with
0x83 (the value it holds afterwards), Get Protocol State 0x04 (address 0)
with 0x84 (address, baud code, PTZ protocol code); ProtocolSpeed 0x06 is
logged. Frames with a wrong checksum, for another address, or cut off for
200 ms are dropped. PTZ frames in its own protocol move its on-screen menu:
preset 95 opens it, Up/Down move the cursor, Select enters or leaves an entry
(inside an entry Up/Down change the value), Select on EXIT closes it;
presets 88 (Colour) and 89 (White balance) are recorded. The menu is printed
on standard output whenever it changes.

Trace: one line per frame in or out:
  <seconds.ms> RX|TX <hex bytes> <meaning>
  e.g. 12.345 RX CC 01 01 01 02 00 00 00 00 04 poll addr 1 proto PELCO P

Exit status: 0 after SIGINT or SIGTERM, 1 when the line cannot be opened,
2 for a bad command line.
)";
}
