#include "sim/sim_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iterator>

#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "link/line_speeds.h"
#include "link/ptz_protocols.h"
#include "sim/camera_model.h"
#include "sim/option_values.h"

namespace {

// Options that take a value, and switches.
constexpr const char* kValueOptions[] = {
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
    "noise",
    "reply-delay",
    "seed",
    "adapter-latency",
    "silent-after",
    "cameras",
    "duplicate",
    "silent",
    "id-hex",
    "silent-for",
    "corrupt",
    "corrupt-requests",
    "unplug-after",
    "replug-after",
    "state-dir",
};
// Options that may be given for one camera as ADDR:VALUE.
constexpr const char* kPerCamera[] = {"set",    "id",           "white-bal", "delay-code",
                                      "refuse", "silent-after", "silent-for"};
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

// --device, --link and --trace: where the simulator serves and writes.
std::string ApplyPlace(const std::string& name, const std::string& value, const std::string& bad,
                       TSimOptions& options) {
  if (value.empty()) return bad;
  if (name == "device") options.device = value;
  if (name == "link") options.link = value;
  if (name == "trace") options.traceFile = value;
  if (name == "state-dir") options.stateDir = value;
  return {};
}

// --unplug-after N and --replug-after MS.
std::string ApplyUnplug(const std::string& name, const std::string& value, const std::string& bad,
                        TSimOptions& options) {
  long number = 0;
  if (!ParseNumber(value, 0, 1000000000, number)) return bad + " (0 or more)";
  (name == "unplug-after" ? options.unplugAfter : options.replugAfterMs) = number;
  return {};
}

// --set ITEM=VALUE: a start value by item name; the ID text has its own option.
std::string ApplySet(const std::string& value, const std::string& bad, TCameraConfig& camera) {
  long number = 0;
  const size_t equals = value.find('=');
  if (equals == std::string::npos) return bad + " (ITEM=VALUE)";
  const int item = ParseItemName(value.substr(0, equals));
  if (item < 0) return "unknown item '" + value.substr(0, equals) + "' in --set";
  if (item == kItemId) return "the ID text is set with --id TEXT";
  if (!ParseNumber(value.substr(equals + 1), 0, 255, number)) return bad + " (value 0..255)";
  camera.startValues[static_cast<uint8_t>(item)] = static_cast<uint8_t>(number);
  return {};
}

std::string ApplyId(const std::string& value, const std::string& bad, TCameraConfig& camera) {
  if (value.size() > kIdLength) return bad + " (at most 16 characters)";
  for (const char c : value) {
    if (!IsIdChar(c)) return bad + " (A-Z, 0-9, blank and < > - . , ; * / :)";
  }
  camera.hasIdText = true;
  camera.idText = value;
  return {};
}

// --id-hex: ID memory as any bytes, as a camera's own may hold them.
std::string ApplyIdHex(const std::string& value, const std::string& bad, TCameraConfig& camera) {
  if (value.empty() || value.size() % 2 != 0 || value.size() > 2 * kIdLength) {
    return bad + " (1 to 16 bytes in hex, e.g. 41FF0D)";
  }
  std::string bytes;
  for (size_t i = 0; i < value.size(); i += 2) {
    long byte = 0;
    if (!ParseNumber("0x" + value.substr(i, 2), 0, 255, byte)) return bad + " (bytes in hex)";
    bytes += static_cast<char>(byte);
  }
  camera.hasIdText = true;
  camera.idText = bytes;
  return {};
}

bool IsCameraStart(const std::string& name) {
  return name == "address" || name == "baud" || name == "protocol" || name == "white-bal" ||
         name == "delay-code";
}

// What the camera is and starts with: address, speed, protocol, white
// balance, colour delay.
std::string ApplyCameraStart(const std::string& name, const std::string& value,
                             const std::string& bad, TCameraConfig& camera) {
  long number = 0;
  if (name == "address") {
    if (!ParseNumber(value, 1, 255, number)) return bad + " (1..255)";
    camera.address = static_cast<uint8_t>(number);
  } else if (name == "baud") {
    if (!ParseNumber(value, 1, 1000000, number) || CodeOfBaud(static_cast<int>(number)) < 0) {
      return bad + " (1200, 2400, 4800 or 9600)";
    }
    camera.baud = static_cast<int>(number);
  } else if (name == "protocol") {
    if (!ParseProtocol(value, camera.protocol)) return bad + " (" + PtzCommandNameList() + ")";
  } else if (name == "white-bal") {
    if (!ParseNumber(value, 0, 255, number)) return bad + " (0..255)";
    camera.startValues[kItemWhiteBal] = static_cast<uint8_t>(number);
  } else if (name == "delay-code") {
    if (!ParseNumber(value, 0, 255, number)) return bad + " (0..255, e.g. 0x50)";
    camera.startValues[kItemColToWb] = static_cast<uint8_t>(number);
    camera.startValues[kItemWbToCol] = static_cast<uint8_t>(number);
  }
  return {};
}

// How the camera misbehaves: refusals, delays, noise, silence and the seed
// of its chances. Names it does not know are left alone.
std::string ApplyBehaviour(const std::string& name, const std::string& value,
                           const std::string& bad, TCameraConfig& camera) {
  long number = 0;
  if (name == "refuse") {
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
  } else if (name == "silent-for") {
    if (!ParseNumber(value, 0, 1000000000, number)) return bad + " (0 or more ms)";
    camera.silentForMs = number;
  } else if (name == "corrupt") {
    if (!ParseRate(value, camera.corruptRate)) return bad + " (a chance from 0 to 1)";
  } else if (name == "corrupt-requests") {
    if (!ParseRate(value, camera.corruptRequestRate)) return bad + " (a chance from 0 to 1)";
  } else if (name == "silent") {
    camera.silentAfter = 0;  // a camera of --silent, which never answers
  } else if (name == "seed") {
    if (!ParseNumber(value, 0, 0xFFFFFFFFL, number)) return bad;
    camera.seed = static_cast<uint32_t>(number);
  }
  return {};
}

// Applies one option to `camera`: the one every camera starts from, or one
// camera's own for an option given with its address in front.
std::string ApplyValue(const std::string& name, const std::string& value, TSimOptions& options,
                       TCameraConfig& camera) {
  const std::string bad = "invalid value '" + value + "' for --" + name;
  if (name == "device" || name == "link" || name == "trace" || name == "state-dir") {
    return ApplyPlace(name, value, bad, options);
  }
  if (name == "unplug-after" || name == "replug-after")
    return ApplyUnplug(name, value, bad, options);
  if (name == "set") return ApplySet(value, bad, camera);
  if (name == "id") return ApplyId(value, bad, camera);
  if (name == "id-hex") return ApplyIdHex(value, bad, camera);
  if (IsCameraStart(name)) return ApplyCameraStart(name, value, bad, camera);
  return ApplyBehaviour(name, value, bad, camera);
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

bool IsPerCamera(const std::string& name) {
  return std::find_if(std::begin(kPerCamera), std::end(kPerCamera),
                      [&name](const char* known) { return name == known; }) != std::end(kPerCamera);
}

// What the options say about the line of cameras, gathered before any
// camera is built from them.
struct LinePlan {
  std::vector<uint8_t> addresses;                     // --cameras
  std::vector<uint8_t> duplicates;                    // --duplicate, each as often as given
  std::vector<std::pair<uint8_t, Given>> ownOptions;  // ADDR:VALUE options and --silent
  bool addressGiven = false;
};

// --cameras, --duplicate and --silent, which each take a list of addresses.
std::string TakeAddressList(const Given& option, LinePlan& plan) {
  const std::string& name = option.name;
  std::vector<uint8_t> list;
  if (!ParseAddressList(option.value, list)) {
    return "invalid value '" + option.value + "' for --" + name +
           " (addresses 1..255, e.g. 1-8,12,20-22)";
  }
  if (name == "cameras") plan.addresses = list;
  if (name == "duplicate") plan.duplicates.insert(plan.duplicates.end(), list.begin(), list.end());
  if (name == "silent") {
    for (const uint8_t silent : list) plan.ownOptions.push_back({silent, {name, {}, false}});
  }
  return {};
}

// One option as given: a switch, a list of addresses, one camera's own value
// (kept for later), or a value for every camera. `line`: whether there are
// several cameras, so that ADDR:VALUE names one of them.
std::string TakeOption(const Given& option, bool line, TSimOptions& options, LinePlan& plan) {
  const std::string& name = option.name;
  if (option.isSwitch) return ApplySwitch(name, options);
  if (name == "cameras" || name == "duplicate" || name == "silent") {
    return TakeAddressList(option, plan);
  }
  uint8_t address = 0;
  std::string rest;
  if (IsPerCamera(name) && (line || name != "id") && SplitAddress(option.value, address, rest)) {
    plan.ownOptions.push_back({address, {name, rest, false}});
    return {};
  }
  plan.addressGiven = plan.addressGiven || name == "address";
  return ApplyValue(name, option.value, options, options.camera);
}

// Options that each make sense alone but not together.
std::string CheckCombinations(const TSimOptions& options, const LinePlan& plan) {
  if (!options.device.empty() && !options.link.empty()) {
    return "--link makes a link to a pseudo-terminal; it cannot be used with --device";
  }
  if (options.unplugAfter >= 0 && !options.device.empty()) {
    return "--unplug-after closes a pseudo-terminal; it cannot be used with --device";
  }
  if (options.replugAfterMs >= 0 && options.unplugAfter < 0) {
    return "--replug-after needs --unplug-after";
  }
  if (plan.addressGiven && !plan.addresses.empty()) {
    return "--address names the only camera; with --cameras give the addresses there";
  }
  return {};
}

// Every address an option names for one camera must be on the line.
std::string CheckAddressesKnown(const LinePlan& plan) {
  const auto known = [&plan](uint8_t address) {
    return std::binary_search(plan.addresses.begin(), plan.addresses.end(), address);
  };
  for (const auto& [address, option] : plan.ownOptions) {
    if (!known(address)) {
      return "no camera at address " + std::to_string(address) + " for --" + option.name;
    }
  }
  for (const uint8_t address : plan.duplicates) {
    if (!known(address)) {
      return "no camera at address " + std::to_string(address) + " to duplicate";
    }
  }
  return {};
}

// The cameras on the line: one for each address, each from the common start
// with its own options on top, and a second one for each duplicated address.
std::string BuildCameras(const LinePlan& plan, TSimOptions& options) {
  const std::string unknown = CheckAddressesKnown(plan);
  if (!unknown.empty()) return unknown;
  options.cameras.clear();
  for (const uint8_t address : plan.addresses) {
    TCameraConfig camera = options.camera;
    camera.address = address;
    for (const auto& [own, option] : plan.ownOptions) {
      if (own != address) continue;
      const std::string error = ApplyValue(option.name, option.value, options, camera);
      if (!error.empty()) return error;
    }
    const auto copies = 1 + std::count(plan.duplicates.begin(), plan.duplicates.end(), address);
    for (long i = 0; i < copies; ++i) options.cameras.push_back(camera);
  }
  return {};
}

}  // namespace

std::string ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options) {
  std::vector<Given> given;
  const std::string unreadable = ReadCommandLine(args, given);
  if (!unreadable.empty()) return unreadable;
  // An ID text may itself look like "12:00"; it names a camera only on a line of several.
  const bool line = std::any_of(given.begin(), given.end(), [](const Given& option) {
    return option.name == "cameras" || option.name == "duplicate";
  });
  LinePlan plan;
  for (const Given& option : given) {
    const std::string error = TakeOption(option, line, options, plan);
    if (!error.empty()) return error;
  }
  const std::string conflict = CheckCombinations(options, plan);
  if (!conflict.empty()) return conflict;
  if (plan.addresses.empty()) plan.addresses = {options.camera.address};
  return BuildCameras(plan, options);
}
