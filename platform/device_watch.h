// Watches for a serial device that has gone (an adapter pulled out, a
// pseudo-terminal closed) to come back under the same name: the port's link
// in the program's folder, a stable /dev/serial/by-id name, or the node
// itself. inotify on the folders along the name and along the links it
// follows, so waiting costs nothing while nothing changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

class DeviceWatch {
 public:
  // Starts watching for `path`. Never fails: without inotify, Descriptor()
  // is -1 and the owner's own slow check (Present) is all there is.
  explicit DeviceWatch(std::string path);
  ~DeviceWatch();
  DeviceWatch(const DeviceWatch&) = delete;
  DeviceWatch& operator=(const DeviceWatch&) = delete;

  // Readable when an entry came or went in one of the folders watched.
  int Descriptor() const { return fd_; }
  // Takes what the descriptor holds and follows the name again (a folder
  // such as /dev/serial/by-id comes back with the first adapter).
  void Drain();
  // Whether `path` leads to a character device now.
  bool Present() const;
  const std::string& Path() const { return path_; }

 private:
  void Arm();

  std::string path_;
  int fd_ = -1;
  std::vector<int> watches_;
};

// Whether `path` leads (through its links) to a character device.
bool DevicePresent(const std::string& path);

// The folders whose entries decide where `path` leads: the folder of the
// name and of each link on the way, each as the nearest folder that exists.
std::vector<std::string> FoldersAlong(const std::string& path);
