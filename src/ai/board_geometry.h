#pragma once

// The board as the look-ahead sees it: the lines a four can lie on, and how a line's content is
// coded as a number so that the evaluation can look its scan up in a table.
//
// Two numberings of the cells meet here, each where it is cheapest:
// - the cell index of the game record, (column - 1) * 6 + (row - 1), 0..41, six to a column:
//   the per-cell tables below are indexed by it;
// - the bit of a cell on a bitboard, (column - 1) * 7 + (row - 1), seven to a column, the seventh
//   an empty guard bit above the top row so that shifts by 6, 7 and 8 walk the diagonals and rows
//   without wrapping into the next column: Position's bitboards and keys use it (BitOf).

#include <algorithm>
#include <array>
#include <cstdint>

#include "game/record.h"

namespace quorbel::board_geometry {

constexpr int kBitsPerColumn = kRows + 1;

// The bit of (column, row) on a bitboard.
constexpr std::uint64_t BitOf(int col, int row) {
    return std::uint64_t{1} << ((col - 1) * kBitsPerColumn + (row - 1));
}

constexpr std::uint64_t kBottomRow = 0x0040810204081ULL;  // row 1 of every column
constexpr std::uint64_t kAllCells = kBottomRow * 0x3F;    // rows 1 to 6
constexpr std::uint64_t kColumnBits = 0x7F;               // column 1 and its guard bit
static_assert(kBottomRow == (BitOf(1, 1) | BitOf(2, 1) | BitOf(3, 1) | BitOf(4, 1) | BitOf(5, 1) |
                             BitOf(6, 1) | BitOf(7, 1)));

// A line's code: base 4 from the line's start, one digit per cell, the cell at position p weighing
// 4^p. An empty cell where the next stone of its column lands (a landing cell) has a digit of its
// own, so that the codes also tell where the human can reply.
constexpr int kEmptyDigit = 0;
constexpr int kComputerDigit = 1;
constexpr int kHumanDigit = 2;
constexpr int kLandingDigit = 3;

// The kinds of line a scan of the evaluation runs on, each with its own rules or length. Diagonals
// of fewer than four cells hold no window: their scans record nothing, whatever they hold, so they
// share one line (kShortLine), which is never changed.
enum class LineKind : std::uint8_t { Column, Row, Diagonal4, Diagonal5, Diagonal6, Short };

// Where the codes of a line kind start in the evaluation's tables: a line's code plus its kind's
// offset is its index there. Position keeps the codes with their offsets added.
constexpr int TableOffset(LineKind kind) {
    switch (kind) {
        case LineKind::Column:
            return 0;
        case LineKind::Row:
            return 4096;  // 4^6 columns before
        case LineKind::Diagonal4:
            return 4096 + 16384;
        case LineKind::Diagonal5:
            return 4096 + 16384 + 256;
        case LineKind::Diagonal6:
            return 4096 + 16384 + 256 + 1024;
        case LineKind::Short:
            return 4096 + 16384 + 256 + 1024 + 4096;
    }
    return 0;
}
constexpr int kTableEntries = TableOffset(LineKind::Short) + 1;

// The lines: the 7 columns, the 6 rows, the 6 rising and the 6 falling diagonals of four cells or
// more, and the short line.
constexpr int kFirstRow = kColumns;
constexpr int kFirstRising = kFirstRow + kRows;  // for column - row = -2 .. 3
constexpr int kFirstFalling = kFirstRising + 6;  // for column + row = 5 .. 10
constexpr int kShortLine = kFirstFalling + 6;
constexpr int kLines = kShortLine + 1;

constexpr LineKind DiagonalKind(int length) {
    return length == 4   ? LineKind::Diagonal4
           : length == 5 ? LineKind::Diagonal5
           : length == 6 ? LineKind::Diagonal6
                         : LineKind::Short;
}

constexpr LineKind KindOf(int line) {
    if (line < kFirstRow) {
        return LineKind::Column;
    }
    if (line < kFirstRising) {
        return LineKind::Row;
    }
    if (line < kShortLine) {
        // The diagonals k = 0 to 5 of either direction have 4, 5, 6, 6, 5 and 4 cells.
        const int k = (line - kFirstRising) % 6;
        return DiagonalKind(6 - std::max(2 - k, k - 3));
    }
    return LineKind::Short;
}

// Where a cell lies on its four lines, in the order of the evaluation's scans (column, row,
// rising and falling diagonal): each line and the weight of the cell's digit in its code
// (4^position from the line's start; 0 on the short line).
struct Cell {
    std::array<std::uint8_t, 4> lines;
    std::array<std::int16_t, 4> weights;
};

constexpr std::int16_t PowerOf4(int p) {
    return static_cast<std::int16_t>(1 << (2 * p));
}

constexpr std::array<Cell, kCells> BuildCells() {
    std::array<Cell, kCells> cells{};
    for (int col = 1; col <= kColumns; ++col) {
        for (int row = 1; row <= kRows; ++row) {
            // The rising diagonal starts at its lower-left end, the falling one at its lower-right.
            const int risingStart = std::min(col, row) - 1;
            const int fallingStart = std::min(kColumns - col, row - 1);
            const int risingLength = risingStart + 1 + std::min(kColumns - col, kRows - row);
            const int fallingLength = fallingStart + 1 + std::min(col - 1, kRows - row);
            Cell& cell = cells[static_cast<std::size_t>(cellIndex(col, row))];
            cell.lines = {
                static_cast<std::uint8_t>(col - 1), static_cast<std::uint8_t>(kFirstRow + row - 1),
                static_cast<std::uint8_t>(risingLength >= 4 ? kFirstRising + col - row + 2
                                                            : kShortLine),
                static_cast<std::uint8_t>(fallingLength >= 4 ? kFirstFalling + col + row - 5
                                                             : kShortLine)};
            cell.weights = {PowerOf4(row - 1), PowerOf4(col - 1),
                            risingLength >= 4 ? PowerOf4(risingStart) : std::int16_t{0},
                            fallingLength >= 4 ? PowerOf4(fallingStart) : std::int16_t{0}};
        }
    }
    return cells;
}

inline constexpr std::array<Cell, kCells> kCellsOfBoard = BuildCells();

inline const Cell& At(int col, int row) {
    return kCellsOfBoard[static_cast<std::size_t>(cellIndex(col, row))];
}

// What a stone dropped into a cell changes in the line codes: its cell turns from landing to the
// stone's side and the cell above from empty to landing. Seven lines change, the column by both
// cells; a cell in the top row changes the short line, by 0, where the cell above would be.
struct Drop {
    std::array<std::uint8_t, 7> lines;
    std::array<std::int16_t, 7> changes;
};

// The top row has no cell above; the flag says so, as the sanitizers' constant evaluation
// cannot compare addresses against null.
constexpr Drop BuildDrop(const Cell& cell, const Cell& above, bool hasAbove, int side) {
    const int here = side - kLandingDigit;
    const int aboveChange = kLandingDigit - kEmptyDigit;
    Drop drop{};
    drop.lines[0] = cell.lines[0];
    drop.changes[0] = static_cast<std::int16_t>(here * cell.weights[0] +
                                                (hasAbove ? aboveChange * above.weights[0] : 0));
    for (std::size_t k = 1; k < 4; ++k) {
        drop.lines[k] = cell.lines[k];
        drop.changes[k] = static_cast<std::int16_t>(here * cell.weights[k]);
        drop.lines[k + 3] = hasAbove ? above.lines[k] : static_cast<std::uint8_t>(kShortLine);
        drop.changes[k + 3] =
            static_cast<std::int16_t>(hasAbove ? aboveChange * above.weights[k] : 0);
    }
    return drop;
}

// By side (computer, human) and cell index.
constexpr std::array<std::array<Drop, kCells>, 2> BuildDrops() {
    std::array<std::array<Drop, kCells>, 2> drops{};
    for (int cell = 0; cell < kCells; ++cell) {
        const bool hasAbove = rowOfCell(cell) < kRows;
        const int cellAbove = hasAbove ? cell + 1 : cell;  // the next cell of the same column
        for (const int side : {kComputerDigit, kHumanDigit}) {
            drops[static_cast<std::size_t>(side - 1)][static_cast<std::size_t>(cell)] =
                BuildDrop(kCellsOfBoard[static_cast<std::size_t>(cell)],
                          kCellsOfBoard[static_cast<std::size_t>(cellAbove)], hasAbove, side);
        }
    }
    return drops;
}

inline constexpr std::array<std::array<Drop, kCells>, 2> kDrops = BuildDrops();

inline const Drop& DropOf(int col, int row, int side) {
    return kDrops[static_cast<std::size_t>(side - 1)]
                 [static_cast<std::size_t>(cellIndex(col, row))];
}

}  // namespace quorbel::board_geometry
