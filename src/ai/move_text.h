#pragma once

// A position written as the columns played from the empty board, red first: "4453" is red in 4,
// blue in 4, red in 5, blue in 3; "" or "-" is the empty board. The side to move is the computer.
// Tests, the analysis tool and the benchmark set up their positions this way.

#include <string_view>

#include "game/record.h"

namespace quorbel {

enum class MovesError { None, NotAColumn, FullColumn, FourOnBoard, BoardFull };

// Plays the moves on Board and, coded by side, on WorkBoard, and sets MoveNr, MoveList,
// BlueToMove and HumanIsRed as a game that reached the position would have them, with the
// computer to move. Stops at the first error; the record is then only partly set.
MovesError SetUpFromMoves(GameRecord& rec, std::string_view moves);

std::string_view ErrorText(MovesError error);

}  // namespace quorbel
