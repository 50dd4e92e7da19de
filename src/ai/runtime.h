#pragma once

// Run-time services: the random generator and the clock that the computer player's hosts and every
// toolkit draw on, and two small text conversions of the window's. They sit with the computer
// player, the lowest layer that needs them.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorbel {

// An elapsed time in days as "nn:ss": minutes and seconds of the difference read as a time of day,
// rounded to the nearest second.
std::string FormatElapsed(double days);

// The whole number at the start of a text, leading blanks skipped; 0 when there is none.
std::int64_t NumberFromText(std::string_view text);

// The real generator and clock. Reseeding folds the time of day into the running state instead of
// replacing it, so draws stay independent even when many reseeds fall into one clock tick.
class SystemRuntime {
  public:
    SystemRuntime();
    double random();
    void reseedFromTimeOfDay();
    static double now();                   // days since 30 Dec 1899, local time
    static double secondsSinceMidnight();  // local time, with fractions

  private:
    std::uint64_t next();
    std::uint64_t state_[4];
};

}  // namespace quorbel
