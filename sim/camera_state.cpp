#include "sim/camera_state.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "link/camera_items.h"
#include "link/frame_meaning.h"
#include "sim/option_values.h"

namespace {

constexpr const char* kIdKey = "ID-HEX";
// No state file of ours is anywhere near this long.
constexpr std::streamsize kMostBytes = 4096;

std::string PathOf(const std::string& folder, uint8_t address) {
  return folder + "/" + CameraStateName(address);
}

std::string Failed(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

// "KEY=VALUE" into the camera; empty when taken, else why not.
std::string TakeLine(const std::string& line, TCameraConfig& camera) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return "no '=' in '" + line + "'";
  const std::string key = line.substr(0, equals);
  const std::string value = line.substr(equals + 1);
  long number = 0;
  if (key == kIdKey) {
    if (value.size() != 2 * kIdLength) return "the ID is 16 bytes in hex";
    camera.idText.clear();
    for (size_t i = 0; i < value.size(); i += 2) {
      if (!ParseNumber("0x" + value.substr(i, 2), 0, 255, number)) return "bad ID byte";
      camera.idText += static_cast<char>(number);
    }
    camera.hasIdText = true;
    return {};
  }
  const int item = ParseItemName(key);
  if (item < 0 || item == kItemId) return "unknown item '" + key + "'";
  if (!ParseNumber(value, 0, 255, number)) return "bad value '" + value + "'";
  camera.startValues[static_cast<uint8_t>(item)] = static_cast<uint8_t>(number);
  return {};
}

}  // namespace

std::string CameraStateName(uint8_t address) {
  char name[32];
  std::snprintf(name, sizeof name, "camera-%03u.txt", static_cast<unsigned>(address));
  return name;
}

std::string CameraStateText(const CameraModel& model) {
  std::string text;
  for (const CameraItem& item : CameraItems()) {
    if (item.kind == ItemKind::IdText) continue;
    text += ItemName(item.code) + "=" + std::to_string(model.Value(item.code)) + "\n";
  }
  text += std::string(kIdKey) + "=";
  char hex[3];
  for (size_t i = 0; i < kIdLength; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", model.IdChar(i));
    text += hex;
  }
  return text + "\n";
}

std::string LoadCameraState(const std::string& folder, TCameraConfig& camera) {
  const std::string path = PathOf(folder, camera.address);
  std::ifstream in(path, std::ios::binary);
  if (!in) return errno == ENOENT ? std::string() : Failed(path, errno);
  std::string text(static_cast<size_t>(kMostBytes) + 1, '\0');
  in.read(&text[0], kMostBytes + 1);
  if (in.bad()) return path + ": can not be read";
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > static_cast<size_t>(kMostBytes))
    return path + ": too long for a camera's state";
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (const std::string bad = TakeLine(line, camera); !bad.empty()) {
      return path + " line " + std::to_string(number) + ": " + bad;
    }
  }
  return {};
}

std::string SaveCameraState(const std::string& folder, const CameraModel& model) {
  const std::string path = PathOf(folder, model.Address());
  const std::string temp = path + ".new";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Failed(temp, errno);
  const std::string text = CameraStateText(model);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      ::close(fd);
      ::unlink(temp.c_str());
      return Failed(temp, error);
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return Failed(path, error);
  }
  return {};
}
