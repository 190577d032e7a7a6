// What zelta-cli's exit status tells a script.
#pragma once

enum ExitStatus : int {
  kExitDone = 0,          // everything done and confirmed
  kExitCameraFailed = 1,  // no answer, refused, differs, two cameras at an address, or an
                          // unexpected failure (its message on stderr)
  kExitUsage = 2,         // bad usage, a bad settings file or a FILE that can not be saved:
                          // nothing was sent
  kExitPort = 3,          // the port could not be opened, failed (a serial error), or the line was
                          // lost mid-run
  kExitStopped = 4,       // stopped by Ctrl+C, SIGTERM or SIGHUP before the end
  kExitOutput = 5,        // the result could not be written (stdout or FILE)
};
