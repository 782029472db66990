#pragma once

#include <chrono>
#include <string>

namespace bench {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start);
// Peak resident memory of this process so far, in MiB.
double PeakMemoryMiB();
// CPU time (user + system) of this process so far, in seconds.
double CpuSeconds();

}  // namespace bench
