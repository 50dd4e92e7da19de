#include <gtest/gtest.h>

#include "game/record.h"
#include "support/positions.h"

namespace quorbel {
namespace {

using testing::setBoard;

TEST(CellIndex, NumbersColumnsFromTheBottomLeft) {
    EXPECT_EQ(cellIndex(1, 1), 0);
    EXPECT_EQ(cellIndex(1, 6), 5);
    EXPECT_EQ(cellIndex(7, 1), 36);
    EXPECT_EQ(cellIndex(7, 6), 41);
    for (int cell = 0; cell < kCells; ++cell) {
        EXPECT_EQ(cellIndex(columnOfCell(cell), rowOfCell(cell)), cell);
    }
}

TEST(CopyToWorkBoard, CodesStonesBySideAndCopiesHeights) {
    GameRecord rec;
    setBoard(rec, {".......",  //
                   ".......",  //
                   ".......",  //
                   "..2....",  //
                   "..12...",  //
                   "2.211.1"});
    rec.HumanIsRed = false;  // the computer plays red: codes stay
    rec.CopyToWorkBoard();
    EXPECT_EQ(rec.WorkBoard, rec.Board);
    EXPECT_EQ(rec.WorkColHeight, rec.ColHeight);

    rec.HumanIsRed = true;  // the human's red stones become 2, the computer's blue ones 1
    rec.CopyToWorkBoard();
    for (int column = 1; column <= kColumns; ++column) {
        for (int row = 1; row <= kRows; ++row) {
            const int stone = rec.Board(column, row);
            EXPECT_EQ(rec.WorkBoard(column, row), stone == 0 ? 0 : 3 - stone);
        }
    }
    EXPECT_EQ(rec.WorkColHeight, rec.ColHeight);
}

TEST(InitFinishColor, GivesTheSideThatJustMovedCodeOne) {
    GameRecord rec;
    setBoard(rec, {".......", ".......", ".......", ".......", ".2.....", "112...."});
    rec.BlueToMove = false;
    rec.InitFinishColor();
    EXPECT_EQ(rec.WorkBoard, rec.Board);
    rec.BlueToMove = true;
    rec.InitFinishColor();
    EXPECT_EQ(rec.WorkBoard(1, 1), 2);
    EXPECT_EQ(rec.WorkBoard(3, 1), 1);
    EXPECT_EQ(rec.WorkBoard(2, 2), 1);
    EXPECT_EQ(rec.WorkBoard(4, 1), 0);
}

}  // namespace
}  // namespace quorbel
