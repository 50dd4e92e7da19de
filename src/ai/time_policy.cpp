#include "ai/time_policy.h"

#include <algorithm>
#include <cmath>

namespace quorbel {

namespace {

// Levels that took less than this say too little about the next one, which is then short enough
// to be tried in any case.
constexpr double kTooShortToTell = 0.002;

// Each level takes some 3 to 15 times as long as the level before it, the factor (the growth)
// mostly shrinking as the levels deepen: by some 0.8 to 0.9 a level from level 7 on.
constexpr double kGrowthShrinkPerLevel = 0.85;

// The smaller of the last two growths still tends to the long side by a little: damped by 0.85 the
// guess came out some 8% long, by 0.8 it errs on the short side.
constexpr double kEstimateDamping = 0.8;

// From this level on the growth per level no longer rises (it swings below that), so the last
// growth taken twice over is a guess on the long side for the level after next.
constexpr int kLeapFromLevel = 6;

// The level leapt over is kept a fifth more than the last growth promises: more than the growth
// rose in every search measured but a few of under a second.
constexpr double kReserveMargin = 1.2;

// The guess for the level after next: the last growth twice, shrunk once.
constexpr double kLeapShrink = 0.8;

// A level's search never counts as less than this share of its wall time, whatever the system
// time says.
constexpr double kLeastSearchShare = 0.1;

// The growth of the time per level from one completed level to a later one, as it was at the
// later one: over a level left out, the mean growth, less what the growth shrinks by from level to
// level.
double GrowthPerLevel(const LevelTime& from, const LevelTime& to) {
    const int levels = to.level - from.level;
    return std::pow(to.seconds / from.seconds, 1.0 / levels) *
           std::pow(kGrowthShrinkPerLevel, (levels - 1) / 2.0);
}

}  // namespace

double EstimateNextLevelSeconds(const std::vector<LevelTime>& completed) {
    const std::size_t n = completed.size();
    if (n < 3 || completed[n - 3].seconds < kTooShortToTell) {
        return 0;
    }
    const double growth = std::min(GrowthPerLevel(completed[n - 2], completed[n - 1]),
                                   GrowthPerLevel(completed[n - 3], completed[n - 2]));
    return kEstimateDamping * growth * completed[n - 1].seconds;
}

LevelStep PlanNextLevel(const std::vector<LevelTime>& completed, int deepestLevel,
                        double secondsLeft) {
    const std::size_t n = completed.size();
    const LevelTime& last = completed.back();
    const double next = EstimateNextLevelSeconds(completed);
    if (last.level >= deepestLevel || next > secondsLeft) {
        return {};
    }
    if (last.level >= kLeapFromLevel && last.level + 2 <= deepestLevel && n >= 2 &&
        completed[n - 2].seconds >= kTooShortToTell) {
        const double growth = GrowthPerLevel(completed[n - 2], last);
        const double reserve = kReserveMargin * growth * last.seconds;
        const double afterNext = kLeapShrink * growth * growth * last.seconds;
        if (reserve + afterNext <= secondsLeft) {
            return {last.level + 2, reserve, afterNext};
        }
    }
    return {last.level + 1, 0, next};
}

LevelStep PlanAfterUnfinishedLevel(const LevelStep& unfinished, LevelEnd end) {
    if (end == LevelEnd::TimeUp && unfinished.reserveSeconds > 0) {
        return {unfinished.level - 1, 0, unfinished.reserveSeconds};
    }
    return {};
}

double PlannedSeconds(std::vector<LevelTime> completed, const LevelStep& step, int deepestLevel,
                      double secondsLeft) {
    double total = 0;
    for (LevelStep planned = step; planned.level != 0;) {
        if (planned.expectedSeconds <= 0) {
            return 0;
        }
        total += planned.expectedSeconds;
        secondsLeft -= planned.expectedSeconds;
        completed.push_back({planned.level, planned.expectedSeconds});
        planned = PlanNextLevel(completed, deepestLevel, secondsLeft);
    }
    return total;
}

// The pages a level sets up for the table are not set up again by the next level, so the time
// they took must not grow with the levels in the estimate. The threads fault the pages in side by
// side, so the wall time they cost is the system time shared among them.
double SearchSeconds(double wallSeconds, double systemSeconds, int threads) {
    return std::max(wallSeconds - systemSeconds / threads, wallSeconds * kLeastSearchShare);
}

}  // namespace quorbel
