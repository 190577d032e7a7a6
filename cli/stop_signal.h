// Ctrl+C, SIGTERM and SIGHUP end a command between two steps, never inside
// one, so the port is always released (and the driver's flags given back)
// and a write can report what it finished. A reader of stdout that goes
// away is noticed as a failed write, not by SIGPIPE.
#pragma once

void InstallStopSignals();
bool StopRequested();
// Ends the program as SIGPIPE does by default (status 141 in a shell), once
// everything is released: the conventional end of a writer whose reader left.
[[noreturn]] void EndAsClosedPipe();
