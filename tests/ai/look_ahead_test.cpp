// The look-ahead's split of the work over threads: the progress it shows and the decisions it
// gives with more threads than candidates.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "ai/look_ahead.h"
#include "ai/move_text.h"

namespace quorbel::testing {
namespace {

TEST(CandidateProgress, ShowsTheFirstCandidateNotFinishedWhateverFinishesFirst) {
    CandidateProgress progress(4);
    EXPECT_EQ(progress.Value(), 1);
    EXPECT_FALSE(progress.Finish(2));  // the third is done, the first still runs
    EXPECT_FALSE(progress.Finish(1));
    EXPECT_EQ(progress.Value(), 1);
    EXPECT_TRUE(progress.Finish(0));
    EXPECT_EQ(progress.Value(), 4);  // the fourth is the one under way now
    EXPECT_TRUE(progress.Finish(3));
    EXPECT_EQ(progress.Value(), 5);
}

TEST(LookAheadThreads, MoreThreadsThanCandidatesShowProgressInOrderAndDecideAsOneThread) {
    GameRecord rec;
    ASSERT_EQ(SetUpFromMoves(rec, "4453"), MovesError::None);
    const std::vector<int> candidates = {1, 2, 3, 4, 5, 6, 7};
    std::vector<int> shown;
    LookAhead many(20, 16);
    const LookAheadOutcome outcome =
        many.Run(rec, candidates, 5, std::nullopt, [&shown](int value) { shown.push_back(value); });
    // Candidates finishing out of order may skip values, never go back or past the last.
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 1);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), std::less_equal<>()));
    EXPECT_LE(shown.back(), 7);

    LookAhead one(20, 1);
    const LookAheadOutcome alone = one.Run(rec, candidates, 5, std::nullopt, [](int) {});
    EXPECT_EQ(outcome.completedLevel, 5);
    EXPECT_EQ(outcome.examined, alone.examined);
    EXPECT_EQ(outcome.examined.size(), 7u);
}

TEST(LookAhead, AStopEndsTheLevelUnderWayAndTheDeepestCompletedOneDecides) {
    GameRecord rec;
    ASSERT_EQ(SetUpFromMoves(rec, "4"), MovesError::None);
    const std::vector<int> candidates = {1, 2, 3, 4, 5, 6, 7};
    LookAhead lookAhead(20, 2);
    int levelsBegun = 0;
    const auto progress = [&](int value) {
        levelsBegun += value == 1 ? 1 : 0;
        if (levelsBegun == 5) {
            lookAhead.Stop();  // as level 5 begins
        }
    };
    const SteadyTime inAMinute = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    const LookAheadOutcome outcome = lookAhead.Run(rec, candidates, 10, inAMinute, progress);
    EXPECT_EQ(outcome.completedLevel, 4);
    LookAhead alone(20, 2);
    EXPECT_EQ(outcome.examined, alone.Run(rec, candidates, 4, std::nullopt, [](int) {}).examined);
    // The stop holds for later look-aheads with a time limit: only level 1 completes.
    EXPECT_EQ(lookAhead.Run(rec, candidates, 10, inAMinute, [](int) {}).completedLevel, 1);
}

TEST(LookAhead, NextLevelIsGuessedFromTheSmallerOfTheLastTwoGrowthsAndTriedWhenTooSoonToTell) {
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

TEST(LookAhead, LeapsOverTheNextLevelOnlyWhenTheOneAfterLeavesItsReserve) {
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
    // Below level 6 the growth still swings: one level at a time.
    EXPECT_EQ(PlanNextLevel({{3, 0.002}, {4, 0.0125}, {5, 0.1}}, 10, 60).level, 6);
}

}  // namespace
}  // namespace quorbel::testing
