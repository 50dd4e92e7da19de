#include "ai/runtime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace quorbel {

namespace {

std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

struct LocalClock {
    double daysSinceEpoch;  // days since 30 Dec 1899
    double secondsOfDay;
};

LocalClock readLocalClock() {
    using namespace std::chrono;
    const auto stamp = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(stamp);
    const double fraction =
        duration<double>(stamp.time_since_epoch()).count() - static_cast<double>(seconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    const double secondsOfDay =
        local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
    // 25569 days lie between 30 Dec 1899 and 1 Jan 1970; the local offset moves the date part.
    const double localEpochSeconds =
        static_cast<double>(seconds) + static_cast<double>(local.tm_gmtoff);
    const double dayNumber = std::floor(localEpochSeconds / 86400.0) + 25569.0;
    return {dayNumber + secondsOfDay / 86400.0, secondsOfDay};
}

}  // namespace

std::string FormatElapsed(double days) {
    long long seconds = std::llround(days * 86400.0);
    if (seconds < 0) {
        seconds = 0;
    }
    const long long ofHour = seconds % 3600;
    char text[8];
    std::snprintf(text, sizeof text, "%02lld:%02lld", ofHour / 60, ofHour % 60);
    return text;
}

std::int64_t NumberFromText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 100'000'000'000'000'000LL) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

SystemRuntime::SystemRuntime() {
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (auto& word : state_) {
        word = splitmix64(seed);
    }
}

std::uint64_t SystemRuntime::next() {
    // xoshiro256**
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

double SystemRuntime::random() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

void SystemRuntime::reseedFromTimeOfDay() {
    std::uint64_t mix = 0;
    const double seconds = secondsSinceMidnight();
    static_assert(sizeof mix == sizeof seconds);
    __builtin_memcpy(&mix, &seconds, sizeof mix);
    for (auto& word : state_) {
        word ^= splitmix64(mix);
    }
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0) {
        state_[0] = 1;
    }
}

double SystemRuntime::now() {
    return readLocalClock().daysSinceEpoch;
}

double SystemRuntime::secondsSinceMidnight() {
    return readLocalClock().secondsOfDay;
}

}  // namespace quorbel
