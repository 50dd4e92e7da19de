#include "support/invariants.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace quorbel::testing {

std::string checkInvariants(const GameRecord& rec, const CellColorLookup& cellColor) {
    std::ostringstream fault;
    if (rec.GameState < 1 || rec.GameState > 3) {
        fault << "GameState " << rec.GameState << " out of range; ";
    }
    if (rec.MoveNr < 0 || rec.MoveNr > 43) {
        fault << "MoveNr " << rec.MoveNr << " out of range; ";
        return fault.str();
    }
    int stones = 0;
    for (int column = 1; column <= kColumns; ++column) {
        const int height = rec.ColHeight[column];
        if (height < 0 || height > kRows) {
            return "ColHeight out of range";
        }
        for (int row = 1; row <= kRows; ++row) {
            const int stone = rec.Board(column, row);
            if ((row <= height) != (stone != kEmpty)) {
                fault << "column " << column << " height " << height << " disagrees with row "
                      << row << "; ";
            }
            if (cellColor) {
                const Color shown = cellColor(cellIndex(column, row));
                const Color expected = stone == kRed    ? rgb(255, 0, 0)
                                       : stone == kBlue ? rgb(0, 0, 255)
                                                        : PaletteColor(15);
                if (shown != expected) {
                    fault << "cell " << cellIndex(column, row) << " shows " << shown << "; ";
                }
            }
        }
        stones += height;
    }
    // Moves made: MoveNr - 1 while a game runs, MoveNr after a four, 42 after a draw.
    const int made = rec.MoveNr == kDrawMoveNr   ? 42
                     : rec.GameState == kGameWon ? rec.MoveNr
                                                 : std::max(0, rec.MoveNr - 1);
    if (stones != made) {
        fault << stones << " stones for MoveNr " << rec.MoveNr << "; ";
    }
    for (int move = 1; move <= std::min(made, stones); ++move) {
        const int cell = rec.MoveList[move];
        if (rec.Board(columnOfCell(cell), rowOfCell(cell)) != (move % 2 == 1 ? kRed : kBlue)) {
            fault << "move " << move << " at cell " << cell << " does not hold its stone; ";
        }
    }
    if (rec.MoveNr >= 1 && rec.BlueToMove != (rec.MoveNr % 2 == 0)) {
        fault << "BlueToMove disagrees with MoveNr " << rec.MoveNr << "; ";
    }
    if (rec.GameState == kGameWon) {
        const int n = rec.WinCells[0];
        const std::int16_t winner = rec.MoveNr % 2 == 1 ? kRed : kBlue;
        if (n < 4 || n > 7) {
            fault << "WinCells lists " << n << " cells; ";
        } else {
            const int dc = columnOfCell(rec.WinCells[2]) - columnOfCell(rec.WinCells[1]);
            const int dr = rowOfCell(rec.WinCells[2]) - rowOfCell(rec.WinCells[1]);
            for (int i = 1; i <= n; ++i) {
                const int cell = rec.WinCells[i];
                const bool inLine =
                    i == 1 || (columnOfCell(cell) - columnOfCell(rec.WinCells[i - 1]) == dc &&
                               rowOfCell(cell) - rowOfCell(rec.WinCells[i - 1]) == dr);
                if (!inLine || std::abs(dc) > 1 || std::abs(dr) > 1 || (dc == 0 && dr == 0) ||
                    rec.Board(columnOfCell(cell), rowOfCell(cell)) != winner) {
                    fault << "WinCells " << i << " (cell " << cell
                          << ") is not the winner's line; ";
                }
            }
        }
    }
    return fault.str();
}

}  // namespace quorbel::testing
