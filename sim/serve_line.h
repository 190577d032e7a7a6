// The simulator's one loop: poll() on the line and on a signal descriptor,
// with a timeout only when the cameras have something due.
#pragma once

#include <cstdint>

class CameraSim;
class SimLine;

// The monotonic clock in microseconds, the time the cameras run on.
int64_t MonotonicNowUs();

// Serves `line` until a signal arrives on `signalFd` (0) or the line fails
// (1). `deviceBaud` is the speed of a real port; 0 on a pseudo-terminal,
// whose speed is read from the line as the tool sets it.
// With `unplugAfter` of 0 or more, it returns 2 once the cameras have given
// that many replies in all and have nothing more on their way.
int ServeLine(SimLine& line, CameraSim& sim, int signalFd, int deviceBaud, long unplugAfter = -1);

// Waits `ms` milliseconds (or for ever when negative); false when a signal
// arrived on `signalFd` meanwhile.
bool WaitUnlessSignalled(int signalFd, long ms);
