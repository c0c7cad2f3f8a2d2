#pragma once
// Wall-clock seconds and the process's peak memory, for the benchmark's own timing.
#include <cstdint>

double NowSeconds();
// Peak resident set (Linux) or peak working set (Windows), in bytes.
std::uint64_t PeakMemoryBytes();
