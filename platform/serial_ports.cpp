#include "platform/serial_ports.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

namespace fs = std::filesystem;

namespace {

bool IsCharacterDevice(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// The kernel's name split into its kind and number: "ttyUSB3" gives "ttyUSB", 3.
bool KernelName(const std::string& name, std::string& kind, long& number) {
  for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
    const std::string p(prefix);
    if (name.size() <= p.size() || name.compare(0, p.size(), p) != 0) continue;
    const std::string digits = name.substr(p.size());
    if (!std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
      return false;
    }
    kind = p;
    number = std::stol(digits);
    return true;
  }
  return false;
}

// Every 8250 slot has a ttyS node; serial_core reports type 0 for an empty one.
bool FittedPort(const std::string& sysClassTty, const std::string& name) {
  std::ifstream type(sysClassTty + "/" + name + "/type");
  int code = 0;
  return static_cast<bool>(type >> code) && code != 0;
}

std::string Canonical(const fs::path& path) {
  std::error_code error;
  const fs::path target = fs::canonical(path, error);
  return error ? std::string() : target.string();
}

bool DefaultMayOpen(const std::string& path) {
  return ::access(path.c_str(), R_OK | W_OK) == 0;
}

int KindRank(const std::string& kind) {
  if (kind == "ttyUSB") return 0;
  if (kind == "ttyACM") return 1;
  return 2;
}

}  // namespace

void SplitByIdName(const std::string& name, std::string& maker, std::string& product) {
  std::string id = name;
  if (id.compare(0, 4, "usb-") == 0) id.erase(0, 4);
  const auto interface = id.rfind("-if");
  if (interface != std::string::npos) id.erase(interface);
  const auto underscore = id.find('_');
  maker = id.substr(0, underscore);
  product = underscore == std::string::npos ? std::string() : id.substr(underscore + 1);
  std::replace(product.begin(), product.end(), '_', ' ');
}

std::vector<SerialPortInfo> ListSerialPorts(const SerialPortScan& scan) {
  const auto mayOpen = scan.mayOpen ? scan.mayOpen : DefaultMayOpen;
  std::error_code error;
  // Stable names by the device they lead to.
  std::map<std::string, fs::path> stable;
  for (const auto& entry : fs::directory_iterator(scan.dev + "/serial/by-id", error)) {
    if (IsCharacterDevice(entry.path())) stable.emplace(Canonical(entry.path()), entry.path());
  }

  struct Found {
    SerialPortInfo info;
    std::tuple<bool, int, long> order;
  };
  std::vector<Found> found;
  for (const auto& entry : fs::directory_iterator(scan.dev, error)) {
    const std::string name = entry.path().filename().string();
    std::string kind;
    long number = 0;
    if (!KernelName(name, kind, number) || !IsCharacterDevice(entry.path())) continue;
    if (kind == "ttyS" && !FittedPort(scan.sysClassTty, name)) continue;
    SerialPortInfo info;
    info.path = entry.path().string();
    info.deviceName = name;
    const auto byId = stable.find(Canonical(entry.path()));
    if (byId != stable.end()) {
      info.path = byId->second.string();
      SplitByIdName(byId->second.filename().string(), info.maker, info.product);
      stable.erase(byId);
    }
    info.mayOpen = mayOpen(info.path);
    found.push_back({info, {info.maker.empty(), KindRank(kind), number}});
  }
  std::sort(found.begin(), found.end(),
            [](const Found& a, const Found& b) { return a.order < b.order; });
  std::vector<SerialPortInfo> ports;
  for (const Found& f : found) ports.push_back(f.info);
  return ports;
}
