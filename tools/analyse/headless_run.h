#pragma once

// The computer player's decision on a position given as moves, without a window: what the
// analysis tool and the benchmark run.

#include <map>
#include <string>
#include <string_view>

#include "ai/move_driver.h"
#include "ai/move_text.h"
#include "game/record.h"

namespace quorbel::tools {

struct Decision {
    MoveReport report;
    GameRecord record;  // as the decision left it
    double milliseconds = 0;
    // Until the progress bar first showed a candidate under way: the set-up before the search.
    // Negative when the look-ahead did not run.
    double millisecondsToProgress = -1;
};

// Sets the position up and lets the driver decide at the level; the error when the moves are not
// a position the computer can move in.
MovesError Decide(MoveDriver& driver, std::string_view moves, int level, Decision& decision);

// The exact chance of each column being played.
std::map<int, double> PlayOdds(const Decision& decision);

// Text of a number as short as it can be while reading back the same double.
std::string NumberText(double value);

}  // namespace quorbel::tools
