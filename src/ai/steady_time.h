#pragma once

// The look-ahead's times: points on the steady clock, and spans between them in seconds.

#include <chrono>

namespace quorbel {

using SteadyTime = std::chrono::steady_clock::time_point;

inline double SecondsBetween(SteadyTime from, SteadyTime to) {
    return std::chrono::duration<double>(to - from).count();
}

inline SteadyTime::duration SecondsAsDuration(double seconds) {
    return std::chrono::duration_cast<SteadyTime::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace quorbel
