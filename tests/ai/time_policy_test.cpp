// The time policy: the guess of the next level's time, the choice of the next level, and the plan
// of the rest of a think.

#include <gtest/gtest.h>

#include "ai/time_policy.h"

namespace quorbel::testing {
namespace {

TEST(TimePolicy, NextLevelIsGuessedFromTheSmallerOfTheLastTwoGrowthsAndTriedWhenTooSoonToTell) {
    EXPECT_EQ(EstimateNextLevelSeconds({}), 0);
    EXPECT_EQ(EstimateNextLevelSeconds({{1, 0.0001}, {2, 0.001}, {3, 0.01}}), 0);
    // Growths 10 and 8: the next level is guessed at somewhat less than 8 times the last.
    const double guess = EstimateNextLevelSeconds({{5, 0.01}, {6, 0.1}, {7, 0.8}});
    EXPECT_LT(guess, 8 * 0.8);
    EXPECT_GT(guess, 5 * 0.8);
    EXPECT_DOUBLE_EQ(EstimateNextLevelSeconds({{5, 0.01}, {6, 0.08}, {7, 0.8}}), guess);
    // Over levels left out, the growth per level, somewhat less as the growth shrinks.
    const double step = EstimateNextLevelSeconds({{6, 1}, {7, 8}, {8, 64}});
    const double overGaps = EstimateNextLevelSeconds({{2, 0.01}, {5, 8}, {8, 64 * 64}});
    EXPECT_LT(overGaps, 64 * step);
    EXPECT_GT(overGaps, 0.7 * 64 * step);
}

TEST(TimePolicy, LeapsOverTheNextLevelOnlyWhenTheOneAfterLeavesItsReserve) {
    // Growth 8 after level 6: the next level is reserved 1.2 * 8 * 0.1 s, the one after is guessed
    // at 0.8 * 64 * 0.1 s; together 6.08 s.
    const std::vector<LevelTime> sixth = {{4, 0.002}, {5, 0.0125}, {6, 0.1}};
    const LevelStep leap = PlanNextLevel(sixth, 10, 6.1);
    EXPECT_EQ(leap.level, 8);
    EXPECT_NEAR(leap.reserveSeconds, 0.96, 1e-9);
    EXPECT_EQ(PlanNextLevel(sixth, 10, 6.0).level, 7);
    EXPECT_EQ(PlanNextLevel(sixth, 7, 60).level, 7);  // the chosen level comes next
    EXPECT_EQ(PlanNextLevel(sixth, 6, 60).level, 0);
    EXPECT_EQ(PlanNextLevel(sixth, 10, 0.4).level, 0);  // not even the next one fits
    // A leap whose time ran out gives the rest to the level it leapt over; a stop ends all.
    EXPECT_EQ(PlanAfterUnfinishedLevel(leap, LevelEnd::TimeUp).level, 7);
    EXPECT_EQ(PlanAfterUnfinishedLevel(leap, LevelEnd::StopAsked).level, 0);
    EXPECT_EQ(PlanAfterUnfinishedLevel(PlanNextLevel(sixth, 10, 6.0), LevelEnd::TimeUp).level, 0);
    // Below level 6 the growth still swings: one level at a time.
    EXPECT_EQ(PlanNextLevel({{3, 0.002}, {4, 0.0125}, {5, 0.1}}, 10, 60).level, 6);
}

// The plan of the rest of a think, for the progress bar: the levels the policy goes on to if each
// takes the time it expects.
TEST(TimePolicy, PlannedSecondsRunUntilTheNextLevelWouldNotFit) {
    const std::vector<LevelTime> sixth = {{4, 0.002}, {5, 0.0125}, {6, 0.1}};
    const LevelStep leap = PlanNextLevel(sixth, 10, 6.1);
    EXPECT_DOUBLE_EQ(PlannedSeconds(sixth, leap, 10, 6.1), leap.expectedSeconds);
    const LevelStep withTime = PlanNextLevel(sixth, 10, 1000);
    EXPECT_GT(PlannedSeconds(sixth, withTime, 10, 1000), 10 * withTime.expectedSeconds);
    EXPECT_EQ(PlannedSeconds({}, {1, 0, 0}, 10, 15), 0);  // too soon to tell
}

}  // namespace
}  // namespace quorbel::testing
