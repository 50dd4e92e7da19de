#pragma once

// Running one decision of the fast driver and of the reference on a position given as moves, and
// the random positions the two are compared on.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "ai/move_driver.h"
#include "ai/move_report.h"

namespace quorbel {

// For the failure messages of gtest.
void PrintTo(const MoveReport& report, std::ostream* os);

}  // namespace quorbel

namespace quorbel::testing {

// The fast driver's report on the position, at the level, as a game starts it.
MoveReport DriverReport(MoveDriver& driver, const std::string& moves, int level);

// The reference's report on the same.
MoveReport ReferenceReport(const std::string& moves, int level);

// Random games cut off after minStones to maxStones stones, with no four and the board not full.
// Quiet positions also give neither side a four at once, so that the look-ahead really runs.
std::vector<std::string> RandomPositions(std::uint32_t seed, int count, int minStones,
                                         int maxStones, bool quiet);

// Everything a decision fixes must agree: the exit, the candidates after the filter, every verdict
// and count, the candidates left for the choice, and the column unless it is drawn at random.
void ExpectSameDecision(const MoveReport& fast, const MoveReport& reference,
                        const std::string& moves);

// A set of random positions on which the fast driver and the reference are compared at one level.
struct DifferentialSample {
    const char* name;
    int level;
    int count;
    int minStones;
    int maxStones;
    bool quiet;
    std::uint32_t seed;
    int maxTableBits;  // small tables make entries replace each other all the time
    bool deepening;    // searching the levels 1, 2, ... in one table, as under a time limit
    friend void PrintTo(const DifferentialSample& s, std::ostream* os) { *os << s.name; }
};

// Compares every decision of the sample and checks that the look-ahead really ran on most of it.
void CompareOnRandomPositions(const DifferentialSample& sample);

}  // namespace quorbel::testing
