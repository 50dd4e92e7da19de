#pragma once

// The look-ahead's times: points on the steady clock, and spans between them in seconds; and the
// system time, which is above all the setting up of the fresh pages of a table that has grown.

#include <sys/resource.h>

#include <chrono>

namespace quorbel {

using SteadyTime = std::chrono::steady_clock::time_point;

inline double SecondsBetween(SteadyTime from, SteadyTime to) {
    return std::chrono::duration<double>(to - from).count();
}

inline SteadyTime::duration SecondsAsDuration(double seconds) {
    return std::chrono::duration_cast<SteadyTime::duration>(std::chrono::duration<double>(seconds));
}

// The CPU time the system has spent for the program (RUSAGE_SELF) or the calling thread
// (RUSAGE_THREAD).
inline double SystemSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;
}

}  // namespace quorbel
