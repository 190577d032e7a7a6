// The whole program, idle: zelta started in a folder of its own with a camera
// on its Com1, past its password dialog, then left alone while its CPU time
// and peak memory are read from /proc.
#pragma once

#include <string>

#include "bench/bench_report.h"

// The zelta program to measure: `preferred` when it exists, else the newest
// build*/bin/zelta beside this build; empty when there is none.
std::string FindProgram(const std::string& preferred);

ProgramFigures MeasureIdleProgram(const std::string& zelta, const std::string& sim, double seconds);
