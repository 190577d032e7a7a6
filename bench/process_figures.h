// CPU time and memory of this process, as the kernel counts them.
#pragma once

#include <sys/types.h>

// User plus system CPU seconds of the whole process (every thread).
double ProcessCpuSeconds();
// User plus system CPU seconds of the calling thread.
double ThreadCpuSeconds();
// Peak resident memory (VmHWM) and current resident memory (VmRSS) in KiB,
// of this process or of another one by id; -1 when it cannot be read.
long PeakResidentKb(pid_t pid = 0);
long ResidentKb(pid_t pid = 0);
// CPU seconds of another process, all its threads (from /proc), -1 on failure.
double OtherProcessCpuSeconds(pid_t pid);
