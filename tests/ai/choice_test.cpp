// The comparison of two candidates by their line counts in both playing styles, and the exact odds
// of the pairwise elimination.

#include <gtest/gtest.h>

#include "ai/candidate_choice.h"

namespace quorbel {
namespace {

constexpr int kA = 2;
constexpr int kB = 6;

struct Counts {
    std::int64_t n2, n3, n4;
};

void File(LineCounts& table, int col, const Counts& counts) {
    table[static_cast<std::size_t>(col)][2] = counts.n2;
    table[static_cast<std::size_t>(col)][3] = counts.n3;
    table[static_cast<std::size_t>(col)][4] = counts.n4;
}

struct Comparison {
    const char* name;
    Counts enemyA, enemyB, compA, compB;
    int defensiveWinner;  // 0: a tie
    int aggressiveWinner;
    friend void PrintTo(const Comparison& c, std::ostream* os) { *os << c.name; }
};

class CandidateComparison : public ::testing::TestWithParam<Comparison> {};

TEST_P(CandidateComparison, PrefersTheColumnTheStyleOrderPicks) {
    const Comparison& c = GetParam();
    GameRecord rec;
    File(rec.EnemyLines, kA, c.enemyA);
    File(rec.EnemyLines, kB, c.enemyB);
    File(rec.CompLines, kA, c.compA);
    File(rec.CompLines, kB, c.compB);
    rec.Defensive = true;
    EXPECT_EQ(PreferredCandidate(rec, kA, kB), c.defensiveWinner);
    rec.Defensive = false;
    EXPECT_EQ(PreferredCandidate(rec, kA, kB), c.aggressiveWinner);
}

constexpr std::int64_t k2To32 = std::int64_t{1} << 32;
constexpr std::int64_t k2To31 = std::int64_t{1} << 31;

INSTANTIATE_TEST_SUITE_P(
    Orders, CandidateComparison,
    ::testing::Values(
        Comparison{"FewerFoursWinWhateverTheRest", {0, 0, 1}, {90, 90, 2}, {}, {}, kA, kA},
        Comparison{"ThreesDecideWhenFoursTie", {9, 4, 1}, {1, 3, 1}, {}, {}, kB, kB},
        Comparison{"TwosDecideLast", {3, 4, 1}, {5, 4, 1}, {}, {}, kA, kA},
        Comparison{"EqualCountsTie", {3, 4, 1}, {3, 4, 1}, {}, {}, 0, 0},
        Comparison{"OwnLinesBreakAHumanTie", {3, 4, 1}, {3, 4, 1}, {0, 0, 0}, {1, 0, 0}, kB, kB},
        // Defensive looks at every human size first, aggressive at its own lines of a size
        // before the human lines of that size.
        Comparison{"StylesDisagreeOnThrees", {0, 2, 0}, {0, 1, 0}, {0, 0, 5}, {0, 0, 0}, kB, kA},
        Comparison{"AggressiveStillLooksAtHumanFoursFirst",
                   {0, 0, 2},
                   {0, 0, 1},
                   {0, 0, 9},
                   {0, 0, 0},
                   kB,
                   kB},
        // Counts beyond 32 bits: truncated they would tie or compare the wrong way round.
        Comparison{"CountsAbove2To32", {k2To32 + 1, 0, 0}, {1, 0, 0}, {}, {}, kB, kB},
        Comparison{"CountsAround2To31", {k2To31, 0, 0}, {k2To31 - 1, 0, 0}, {}, {}, kB, kB}),
    [](const ::testing::TestParamInfo<Comparison>& info) { return std::string(info.param.name); });

TEST(ChoiceOdds, ThreeTiedCandidatesGiveTheLastOneHalf) {
    GameRecord rec;
    rec.Defensive = true;
    const std::map<int, double> odds = ChoiceOdds(rec, {1, 4, 7});
    EXPECT_EQ(odds, (std::map<int, double>{{1, 0.25}, {4, 0.25}, {7, 0.5}}));
}

TEST(ChoiceOdds, ABetterCandidateLaterTakesAllTheChance) {
    GameRecord rec;
    rec.Defensive = true;
    File(rec.EnemyLines, 1, {5, 0, 0});
    File(rec.EnemyLines, 3, {5, 0, 0});
    File(rec.EnemyLines, 5, {4, 0, 0});
    File(rec.EnemyLines, 6, {5, 0, 0});
    EXPECT_EQ(ChoiceOdds(rec, {1, 3, 5, 6}), (std::map<int, double>{{5, 1.0}}));
    EXPECT_EQ(ChoiceOdds(rec, {3}), (std::map<int, double>{{3, 1.0}}));
}

}  // namespace
}  // namespace quorbel
