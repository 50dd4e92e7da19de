// Stone placement on the analysis board and the four-in-a-row test through a column's top stone.

#include "game/record.h"

namespace quorbel {

namespace {

bool onBoard(int column, int row) {
    return column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
}

// Walks one whole line from its lower end and counts runs of `code`. At a foreign cell a run of
// four or more is a four; past the point where fewer than four cells remain (giveUp) the line is
// abandoned, which only spares reads.
template <typename GiveUp>
bool lineHasFour(const BoardGrid& board, int column, int row, int dColumn, int dRow,
                 std::int16_t code, GiveUp giveUp) {
    int run = 0;
    for (; onBoard(column, row); column += dColumn, row += dRow) {
        if (board(column, row) == code) {
            ++run;
        } else if (run >= 4) {
            return true;
        } else if (giveUp(column, row)) {
            return false;
        } else {
            run = 0;
        }
    }
    return run >= 4;
}

}  // namespace

void GameRecord::SetCompStone(int k) {
    assert(WorkColHeight[k] <= 5);
    ++WorkColHeight[k];
    WorkBoard(k, WorkColHeight[k]) = kComputer;
}

void GameRecord::SetHumanStone(int k) {
    assert(WorkColHeight[k] <= 5);
    ++WorkColHeight[k];
    WorkBoard(k, WorkColHeight[k]) = kHuman;
}

void GameRecord::TakeStone(int k) {
    assert(WorkColHeight[k] >= 1);
    WorkBoard(k, WorkColHeight[k]) = kEmpty;
    --WorkColHeight[k];
}

void GameRecord::TryCompMove(int k) {
    CompWon = false;
    SetCompStone(k);
    CompWon = fourThroughTop(k, kComputer);
}

void GameRecord::CheckHumanFour(int k) {
    HumanWon = false;
    HumanWon = fourThroughTop(k, kHuman);
}

// Column, row, rising and falling diagonal, in this order; the first four ends the test.
bool GameRecord::fourThroughTop(int k, std::int16_t code) const {
    const int h = WorkColHeight[k];
    const auto rowAboveTwo = [](int, int row) { return row > 2; };

    if (lineHasFour(WorkBoard, k, 1, 0, 1, code, rowAboveTwo)) {
        return true;
    }
    if (lineHasFour(WorkBoard, 1, h, 1, 0, code, [](int column, int) { return column > 3; })) {
        return true;
    }
    // The rising diagonal's lower-left end; (k, h) itself when k = 1 or h = 1.
    const int back = k <= h ? k - 1 : h - 1;
    if (lineHasFour(WorkBoard, k - back, h - back, 1, 1, code, rowAboveTwo)) {
        return true;
    }
    // The falling diagonal's lower-right end.
    int column = k;
    int row = h;
    while (column < kColumns && row > 1) {
        ++column;
        --row;
    }
    return lineHasFour(WorkBoard, column, row, -1, 1, code, rowAboveTwo);
}

}  // namespace quorbel
