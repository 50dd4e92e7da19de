#pragma once

#include "game/record.h"

namespace quorbel {

class Toolkit;

// Marks the winning line through the top stone of column col (code 1 on WorkBoard): fills
// WinCells, ends the game in state 3 and starts the timer that blinks the line, first after 10 ms.
void MarkWinCells(GameRecord& rec, Toolkit& toolkit, int col);

}  // namespace quorbel
