#pragma once

#include "game/record.h"

namespace quorbel {

// Marks the winning line through the top stone of column col (code 1 on WorkBoard): fills
// WinCells and ends the game in state 3. Showing the line is the caller's business.
void MarkWinCells(GameRecord& rec, int col);

}  // namespace quorbel
