// Finding the cells of a winning line: the code-1 stones on WorkBoard through a column's top stone.

#include "game/win_cells.h"

namespace quorbel {

namespace {

// One scan of the marking: walks a line, lists consecutive code-1 cells in WinCells(1..n) and
// decides at each foreign cell whether the line is found or the scan ends.
class WinLineScan {
  public:
    explicit WinLineScan(GameRecord& rec) : rec_(rec) {}

    int count() const { return n_; }

    // Returns true when the line is found. isFound(n) judges a run; endsAt(column, row) tells
    // whether a foreign cell there ends the scan.
    template <typename IsFound, typename EndsAt>
    bool walk(int column, int row, int dColumn, int dRow, IsFound isFound, EndsAt endsAt) {
        n_ = 0;
        for (; column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
             column += dColumn, row += dRow) {
            if (rec_.WorkBoard(column, row) == 1) {
                ++n_;
                rec_.WinCells[n_] = static_cast<std::int16_t>(cellIndex(column, row));
            } else if (isFound(n_)) {
                return true;
            } else {
                n_ = 0;
                if (endsAt(column, row)) {
                    return false;
                }
            }
        }
        return isFound(n_);
    }

  private:
    GameRecord& rec_;
    int n_ = 0;
};

}  // namespace

bool GameRecord::FindWinCells(int col) {
    const int h = WorkColHeight[col];
    const auto exactlyFour = [](int n) { return n == 4; };
    const auto fourOrMore = [](int n) { return n > 3; };

    WinLineScan scan(*this);
    bool found = scan.walk(col, 1, 0, 1, exactlyFour, [](int, int row) { return row > 3; }) ||
                 scan.walk(1, h, 1, 0, fourOrMore, [](int column, int) { return column > 3; });
    if (!found) {
        const int back = col > h ? h - 1 : col - 1;  // to the lower-left end
        found = scan.walk(col - back, h - back, 1, 1, fourOrMore,
                          [](int column, int) { return column > 3; });
    }
    if (!found) {
        int column = col;
        int row = h;
        while (column < kColumns && row > 1) {  // to the lower-right end
            ++column;
            --row;
        }
        found = scan.walk(column, row, -1, 1, fourOrMore, [](int c, int) { return c < 5; });
    }
    WinCells[0] = static_cast<std::int16_t>(scan.count());
    return found;
}

void MarkWinCells(GameRecord& rec, int col) {
    rec.FindWinCells(col);
    rec.GameState = kGameWon;
}

}  // namespace quorbel
