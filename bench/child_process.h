// A child process with its output in a file, ended with SIGTERM (then
// SIGKILL) when the object goes.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  // `args[0]` is the program's path; `environment` holds NAME=VALUE settings
  // added to this process's own.
  ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& environment,
               const std::string& output);
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Alive();
  void Stop();

 private:
  pid_t pid_ = -1;
};
