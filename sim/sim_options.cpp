#include "sim/sim_options.h"

#include <CLI/CLI.hpp>
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

// Options that take a value, and switches.
constexpr const char* kValueOptions[] = {
    "address",     "baud", "protocol",        "device",       "link",   "trace",
    "set",         "id",   "white-bal",       "delay-code",   "refuse", "noise",
    "reply-delay", "seed", "adapter-latency", "silent-after",
};
constexpr const char* kSwitches[] = {"help",    "version",     "iris",  "dc-sync",
                                     "ai-lens", "line-timing", "split", "trace-us"};

// One option as given, in command-line order; a switch has no value.
struct Given {
  std::string name;
  std::string value;
  bool isSwitch;
};

// What the command line holds, option by option, in order; the error when
// it cannot be read at all.
std::string ReadCommandLine(const std::vector<std::string>& args, std::vector<Given>& given) {
  CLI::App app;
  app.set_help_flag();  // --help prints our own text
  app.allow_extras();   // reported below in our words
  for (const char* name : kValueOptions) {
    app.add_option_function<std::string>(std::string("--") + name,
                                         [&given, name](const std::string& value) {
                                           given.push_back({name, value, false});
                                         })
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  for (const char* name : kSwitches) {
    app.add_flag_callback(std::string("--") + name,
                          [&given, name]() {
                            given.push_back({name, {}, true});
                          })
        ->trigger_on_parse()
        ->disable_flag_override();
  }
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return error.what();
  }
  for (const std::string& extra : app.remaining()) {
    if (extra.rfind("--", 0) == 0 && extra.size() > 2) {
      return "unknown option " + extra.substr(0, extra.find('='));
    }
    return "unexpected argument '" + extra + "'";
  }
  return {};
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
  std::vector<Given> given;
  const std::string unreadable = ReadCommandLine(args, given);
  if (!unreadable.empty()) return unreadable;
  for (const Given& option : given) {
    const std::string error = option.isSwitch ? ApplySwitch(option.name, options)
                                              : ApplyValue(option.name, option.value, options);
    if (!error.empty()) return error;
  }
  if (!options.device.empty() && !options.link.empty()) {
    return "--link makes a link to a pseudo-terminal; it cannot be used with --device";
  }
  return {};
}
