// The level driver and its split of the work over threads: the decisions it gives with more
// threads than candidates, the progress it shows, and a stop.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "ai/look_ahead.h"
#include "ai/move_text.h"

namespace quorbel::testing {
namespace {

TEST(LookAheadThreads, MoreThreadsThanCandidatesDecideAsOneThreadWithABarThatOnlyMovesForward) {
    GameRecord rec;
    ASSERT_EQ(SetUpFromMoves(rec, "4453"), MovesError::None);
    const std::vector<int> candidates = {1, 2, 3, 4, 5, 6, 7};
    std::vector<double> shown;
    LookAhead many(20, 16);
    const LookAheadOutcome outcome = many.Run(rec, candidates, 6, std::nullopt,
                                              [&shown](double share) { shown.push_back(share); });
    ASSERT_GE(shown.size(), 2u);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_GT(shown.front(), 0);
    EXPECT_EQ(shown.back(), 1);

    LookAhead one(20, 1);
    const LookAheadOutcome alone = one.Run(rec, candidates, 6, std::nullopt, [](double) {});
    EXPECT_EQ(outcome.completedLevel, 6);
    EXPECT_EQ(outcome.examined, alone.examined);
    EXPECT_EQ(outcome.examined.size(), 7u);
}

// The first update of the bar comes from inside a level that searches; a stop asked for then ends
// that level, or lets it complete, and begins no further one.
TEST(LookAhead, AStopEndsTheLevelUnderWayAndTheDeepestCompletedOneDecides) {
    GameRecord rec;
    ASSERT_EQ(SetUpFromMoves(rec, "4"), MovesError::None);
    const std::vector<int> candidates = {1, 2, 3, 4, 5, 6, 7};
    LookAhead lookAhead(20, 2);
    const auto stopAtOnce = [&lookAhead](double) { lookAhead.Stop(); };
    const SteadyTime inAMinute = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    const LookAheadOutcome outcome = lookAhead.Run(rec, candidates, 10, inAMinute, stopAtOnce);
    EXPECT_GE(outcome.completedLevel, 2);
    EXPECT_LT(outcome.completedLevel, 7);
    LookAhead alone(20, 2);
    EXPECT_EQ(
        outcome.examined,
        alone.Run(rec, candidates, outcome.completedLevel, std::nullopt, [](double) {}).examined);
    // The stop holds for later look-aheads with a time limit: only level 1 completes.
    EXPECT_EQ(lookAhead.Run(rec, candidates, 10, inAMinute, [](double) {}).completedLevel, 1);
}

}  // namespace
}  // namespace quorbel::testing
