// The progress bar over a think driven by a scripted clock: plans revised upwards and downwards, a
// level that runs late, and the decision.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ai/think_progress.h"

namespace quorbel::testing {
namespace {

SteadyTime At(double seconds) {
    return SteadyTime{} + SecondsAsDuration(seconds);
}

TEST(ThinkProgress, OnlyMovesForwardMovesInEveryHalfSecondAndIsFullAtTheDecision) {
    struct Level {
        double begins;
        double plannedSeconds;
    };
    // Too soon to tell; a short plan; a longer one before it has ended; a last level planned for
    // 3 s that takes 6 s.
    const std::vector<Level> levels = {{0, 0}, {0.05, 2}, {1, 8}, {7, 3}};
    const double decision = 13;
    std::vector<std::pair<double, double>> shown;  // seconds, share
    double now = 0;
    ThinkProgress bar(At(0), At(15), [&](double share) { shown.emplace_back(now, share); });
    std::size_t next = 0;
    for (int step = 0; step < 1300; ++step) {
        now = step * 0.01;
        for (; next < levels.size() && levels[next].begins <= now; ++next) {
            bar.LevelBegins(At(now), levels[next].plannedSeconds);
        }
        bar.Tick(At(now));
    }
    now = decision;
    bar.Finish();

    ASSERT_GT(shown.size(), 200u);
    EXPECT_EQ(shown.back().second, 1);
    EXPECT_LT(shown[shown.size() - 2].second, 1);
    // The bar is 512 pixels wide: in every half second it moves by one at least.
    std::size_t halfSecondBefore = 0;
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_GE(shown[i].second, shown[i - 1].second) << "at " << shown[i].first << " s";
        while (shown[halfSecondBefore].first < shown[i].first - 0.5) {
            ++halfSecondBefore;
        }
        if (shown[i].first - shown[halfSecondBefore].first >= 0.45) {
            EXPECT_GE(shown[i].second - shown[halfSecondBefore].second, 1.0 / 512)
                << "from " << shown[halfSecondBefore].first << " s to " << shown[i].first << " s";
        }
    }
}

}  // namespace
}  // namespace quorbel::testing
