// Watchdog and receiver intervals of the camera link, in milliseconds.
#pragma once

constexpr int kRequestWatchdogMs = 500;    // after a poll, read, write or query
constexpr int kWhiteBalWatchdogMs = 4000;  // after a WHITE BAL write: the camera is slow to settle
constexpr int kSoonWatchdogMs = 100;       // a waiting transfer or a new address: go soon
constexpr int kIdleWatchdogMs = 3000;      // the polling period of an idle link
constexpr int kInterByteMs = 200;          // a reply whose bytes stop this long is dropped
constexpr unsigned kMissedTicksLimit = 3;  // more silent ticks than this: the camera is lost
// Further Get Protocol State queries before giving up: after the first query
// every speed is tried twice more.
extern const unsigned kProbeQueryLimit;  // two per row of kLineSpeeds
