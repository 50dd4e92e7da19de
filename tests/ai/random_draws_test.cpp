// The opening column and the tie-breaks drawn with the real generator and the real clock: fair, and
// independent even when drawn one right after another.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "ai/move_driver.h"
#include "ai/move_text.h"
#include "ai/quiet_host.h"

namespace quorbel::testing {
namespace {

// Pearson's statistic of observed counts against expected shares of the total.
double ChiSquare(const std::vector<int>& observed, const std::vector<double>& shares) {
    int total = 0;
    for (const int n : observed) {
        total += n;
    }
    double statistic = 0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
        const double expected = shares[i] * total;
        statistic += (observed[i] - expected) * (observed[i] - expected) / expected;
    }
    return statistic;
}

// Critical values for a chance of 1 in 10000 that a fair generator fails.
constexpr double kCritical2 = 18.42;  // 2 degrees of freedom
constexpr double kCritical8 = 33.72;  // 8 degrees of freedom

// Plays the computer's move on the position again and again, as fast as it can.
std::vector<int> Columns(const std::string& moves, int level, int times) {
    QuietHost host;  // the real generator and clock
    MoveDriver driver(PlayerOptions{std::nullopt, 12, 1});
    GameRecord rec;
    rec.Defensive = true;
    std::vector<int> columns;
    for (int i = 0; i < times; ++i) {
        SetUpFromMoves(rec, moves);
        driver.MakeCompMove(rec, level, host);
        columns.push_back(rec.CurCol);
    }
    return columns;
}

// Counts of the columns, and of the pairs of consecutive columns, over three possible columns.
struct Tally {
    std::vector<int> single = std::vector<int>(3);
    std::vector<int> pairs = std::vector<int>(9);
};

Tally Count(const std::vector<int>& columns, const std::array<int, 3>& possible) {
    const auto index = [&](int column) {
        for (int i = 0; i < 3; ++i) {
            if (possible[static_cast<std::size_t>(i)] == column) {
                return i;
            }
        }
        ADD_FAILURE() << "column " << column << " cannot be drawn";
        return 0;
    };
    Tally tally;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        ++tally.single[static_cast<std::size_t>(index(columns[i]))];
        if (i % 2 == 1) {
            ++tally.pairs[static_cast<std::size_t>(3 * index(columns[i - 1]) + index(columns[i]))];
        }
    }
    return tally;
}

std::vector<double> PairShares(const std::vector<double>& shares) {
    std::vector<double> pairs;
    for (const double first : shares) {
        for (const double second : shares) {
            pairs.push_back(first * second);
        }
    }
    return pairs;
}

TEST(RandomDraws, OpeningColumnsAreFairAndIndependent) {
    const std::vector<double> shares = {1.0 / 3, 1.0 / 3, 1.0 / 3};
    const Tally tally = Count(Columns("", 1, 9000), {3, 4, 5});
    EXPECT_LT(ChiSquare(tally.single, shares), kCritical2);
    EXPECT_LT(ChiSquare(tally.pairs, PairShares(shares)), kCritical8);
}

// After "722" at level 1, columns 4, 5 and 6 tie: two draws, each reseeding from the clock.
TEST(RandomDraws, TieBreaksAreFairAndIndependent) {
    const std::vector<double> shares = {0.25, 0.25, 0.5};
    const Tally tally = Count(Columns("722", 1, 4000), {4, 5, 6});
    EXPECT_LT(ChiSquare(tally.single, shares), kCritical2);
    EXPECT_LT(ChiSquare(tally.pairs, PairShares(shares)), kCritical8);
}

}  // namespace
}  // namespace quorbel::testing
