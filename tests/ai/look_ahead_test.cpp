// The level driver and its split of the work over threads: the decisions it gives with more
// threads than candidates or work items, the work that no longer counts, the progress it shows, and
// a stop.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>

#include "ai/decision_runs.h"
#include "ai/level_control.h"
#include "ai/level_run.h"
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

// Four columns full: three candidates, whose replies and answers make fewer finer work items than
// there are threads; and a table so small that its entries replace each other all the time.
TEST(LookAheadThreads, FinerItemsOnMoreThreadsThanItemsAndATinyTableDecideAsTheReference) {
    constexpr int kThreads = 128;
    for (const char* moves : {"431214321222233133441144", "1431132143321543312422424"}) {
        for (const int level : {LevelRun::kSplitFromLevel, 8}) {
            std::vector<LevelTrace> levels;
            MoveDriver driver(PlayerOptions{std::nullopt, 10, kThreads, false, &levels});
            ExpectSameDecision(DriverReport(driver, moves, level), ReferenceReport(moves, level),
                               moves);
            // Three candidates with three replies each make nine items unless answers are split.
            ASSERT_EQ(levels.size(), 1u);
            EXPECT_GT(levels.front().items.size(), 9u) << moves;
            EXPECT_LT(levels.front().items.size(), static_cast<std::size_t>(kThreads)) << moves;
        }
    }
}

// The trace of a level: an entry for each of its work items, in list order, which one thread
// takes one item after the other, the candidates' items in the candidates' order; the items are
// finer from kSplitFromLevel on.
TEST(LookAheadTrace, OneThreadTakesEveryItemInListOrder) {
    GameRecord rec;
    ASSERT_EQ(SetUpFromMoves(rec, "4453"), MovesError::None);
    const std::vector<int> candidates = {1, 2, 3, 4, 5, 6, 7};
    std::vector<LevelTrace> levels;
    LookAhead lookAhead(20, 1);
    lookAhead.TraceLevels(&levels);
    for (const int level : {LevelRun::kSplitFromLevel - 1, LevelRun::kSplitFromLevel}) {
        lookAhead.Run(rec, candidates, level, std::nullopt, [](double) {});
        ASSERT_EQ(levels.back().level, level);
        EXPECT_TRUE(levels.back().completed);
        const std::vector<ItemTime>& items = levels.back().items;
        for (std::size_t place = 0; place < items.size(); ++place) {
            EXPECT_EQ(items[place].thread, 0) << level << " " << place;
            EXPECT_GE(items[place].ms, 0);
            if (place > 0) {
                const ItemTime& before = items[place - 1];
                EXPECT_GE(items[place].candidate, before.candidate);
                EXPECT_GE(items[place].startMs + 1e-6, before.startMs + before.ms);
            }
        }
    }
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_LE(levels[0].items.size(), candidates.size() * kColumns);
    EXPECT_GT(levels[1].items.size(), candidates.size() * kColumns);
}

// A move that decides its node (a win among the computer's moves, a refutation among the human's)
// cuts the moves after it and everything below them, never those before it; a node known from the
// table needs none of its moves.
TEST(LevelControl, ADecidingMoveCutsTheLaterMovesAndEverythingBelowThem) {
    const std::atomic<bool> noStop{false};
    LevelControl control(std::nullopt, noStop);
    const int candidate = control.AddNode(LevelControl::kRoot, 1);
    const int reply = control.AddNode(candidate, 2);
    const int answer = control.AddNode(reply, 3);
    EXPECT_TRUE(control.Needed(answer, 6));

    control.Decides(reply, 4);
    EXPECT_TRUE(control.Needed(answer, 6));
    EXPECT_FALSE(control.Needed(reply, 5));
    control.Decides(reply, 3);
    control.Decides(reply, 5);  // a later find leaves the first one
    EXPECT_TRUE(control.Needed(answer, 6));
    EXPECT_FALSE(control.Needed(reply, 4));
    control.Decides(reply, 2);
    EXPECT_FALSE(control.Needed(answer, 0));
    EXPECT_FALSE(control.NodeNeeded(answer));
    EXPECT_TRUE(control.NodeNeeded(reply));

    control.Known(reply);
    EXPECT_FALSE(control.Needed(reply, 0));
    EXPECT_TRUE(control.Needed(candidate, 6));
    control.Decides(LevelControl::kRoot, 0);
    EXPECT_EQ(control.FirstWon(), 0);
    EXPECT_FALSE(control.NodeNeeded(candidate));
    EXPECT_FALSE(control.Needed(candidate, 0));
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
