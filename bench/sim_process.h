// zelta-camsim as a child process: started with the given options, its
// standard output and trace in files of a private temporary folder, stopped
// with SIGTERM when the object goes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

class SimProcess {
 public:
  // `program`: path of zelta-camsim. Starts it at once; Ready() tells whether
  // it came up. `--trace FILE` is added (see TracePath).
  SimProcess(const std::string& program, const std::vector<std::string>& options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Waits for the ready line; the pseudo-terminal's path, empty on failure.
  const std::string& WaitReady(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Ends the simulator (its side of the line closes); true when it has exited.
  bool Stop();
  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  const std::string& TracePath() const { return trace_; }
  const std::string& OutputPath() const { return output_; }
  // Whatever the simulator printed, for error reports.
  std::string Output() const;

 private:
  std::string folder_;
  std::string output_;
  std::string trace_;
  std::string path_;
  pid_t pid_ = -1;
};

// zelta-camsim beside the running program (both land in <build>/bin).
std::string SimProgramBesideThis();
// Folder of the running program.
std::string ThisProgramFolder();
