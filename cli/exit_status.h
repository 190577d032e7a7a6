// What zelta-cli's exit status tells a script.
#pragma once

enum ExitStatus : int {
  kExitDone = 0,          // everything done and confirmed
  kExitCameraFailed = 1,  // no answer, refused, differs, or interrupted
  kExitUsage = 2,         // bad usage or a bad settings file
  kExitPort = 3,          // the port could not be opened, or the line was lost mid-run
};
