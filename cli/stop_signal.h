// Ctrl+C and SIGTERM end a command between two steps, never inside one, so
// the port is always released and a write can report what it finished.
#pragma once

void InstallStopSignals();
bool StopRequested();
