#include "game/record.h"

namespace quorbel {

void GameRecord::CopyToWorkBoard() {
    for (int column = 1; column <= kColumns; ++column) {
        WorkColHeight[column] = ColHeight[column];
        for (int row = 1; row <= kRows; ++row) {
            std::int16_t stone = Board(column, row);
            if (HumanIsRed && stone != kEmpty) {
                stone = static_cast<std::int16_t>(3 - stone);
            }
            WorkBoard(column, row) = stone;
        }
    }
}

void GameRecord::InitFinishColor() {
    for (int column = 1; column <= kColumns; ++column) {
        for (int row = 1; row <= kRows; ++row) {
            std::int16_t stone = Board(column, row);
            if (BlueToMove && stone != kEmpty) {
                stone = static_cast<std::int16_t>(3 - stone);
            }
            WorkBoard(column, row) = stone;
        }
    }
}

}  // namespace quorbel
