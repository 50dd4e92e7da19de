#pragma once

// What must hold in the game-state record between any two events, whatever came before: heights
// that match the boards, a move list that matches the stones, the colour to move that matches the
// move number, states in range, a winning line that really is the winner's, and (when a lookup is
// given) cells that show the colours of their stones.

#include <functional>
#include <string>

#include "flow/colors.h"
#include "game/record.h"

namespace quorbel::testing {

// The colour a board cell (index 0..41) shows on the screen.
using CellColorLookup = std::function<Color(int cell)>;

// Returns a description of every broken invariant, or an empty string when all hold.
std::string checkInvariants(const GameRecord& rec, const CellColorLookup& cellColor = {});

}  // namespace quorbel::testing
