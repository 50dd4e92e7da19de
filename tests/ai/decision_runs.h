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

namespace quorbel::testing {

// The fast driver's report on the position, at the level, through a game on the fake toolkit.
MoveReport DriverReport(MoveDriver& driver, const std::string& moves, int level);

// The reference's report on the same.
MoveReport ReferenceReport(const std::string& moves, int level);

// Random games cut off after 1 to maxStones stones, with no four and the board not full. Quiet
// positions also give neither side a four at once, so that the look-ahead really runs.
std::vector<std::string> RandomPositions(std::uint32_t seed, int count, int maxStones, bool quiet);

// Everything a decision fixes: the exit, the candidates after the filter, every verdict and count,
// the candidates left for the choice, and the column unless it is drawn at random.
void ExpectSameDecision(const MoveReport& fast, const MoveReport& reference,
                        const std::string& moves);

void PrintTo(const MoveReport& report, std::ostream* os);

}  // namespace quorbel::testing
