// The fast driver against the reference, on random positions: every decision must be the same.

#include "ai/decision_runs.h"

namespace quorbel::testing {
namespace {

TEST(Differential, Scratch) {
    MoveDriver driver(PlayerOptions{std::nullopt, 12, 2});
    for (int level = 1; level <= 4; ++level) {
        for (const std::string& moves : RandomPositions(7 + level, 100, 30, level % 2 == 0)) {
            ExpectSameDecision(DriverReport(driver, moves, level), ReferenceReport(moves, level),
                               moves);
        }
    }
}

}  // namespace
}  // namespace quorbel::testing
