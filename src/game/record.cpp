#include "game/record.h"

namespace quorbel {

void GameRecord::CopyToWorkBoard() {
    for (LoopCol = 1; LoopCol <= kColumns; ++LoopCol) {
        WorkColHeight[LoopCol] = ColHeight[LoopCol];
        for (LoopRow = 1; LoopRow <= kRows; ++LoopRow) {
            std::int16_t stone = Board(LoopCol, LoopRow);
            if (HumanIsRed && stone != kEmpty) {
                stone = static_cast<std::int16_t>(3 - stone);
            }
            WorkBoard(LoopCol, LoopRow) = stone;
        }
    }
}

void GameRecord::InitFinishColor() {
    for (LoopCol = 1; LoopCol <= kColumns; ++LoopCol) {
        for (LoopRow = 1; LoopRow <= kRows; ++LoopRow) {
            std::int16_t stone = Board(LoopCol, LoopRow);
            if (BlueToMove && stone != kEmpty) {
                stone = static_cast<std::int16_t>(3 - stone);
            }
            WorkBoard(LoopCol, LoopRow) = stone;
        }
    }
}

}  // namespace quorbel
