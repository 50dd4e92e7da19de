#pragma once

// The analysis board as the look-ahead keeps it: one bitboard per side with 7 bits per column (six
// rows and an empty guard bit), bit (column - 1) * 7 + (row - 1); and, for the evaluation's table
// lookups, the base-3 code of every line of the board (columns, rows, both diagonals), kept up to
// date stone by stone.

#include <algorithm>
#include <array>
#include <cstdint>

#include "ai/line_scans.h"
#include "game/record.h"

namespace quorbel {

enum class Side : std::int16_t { Computer = kComputer, Human = kHuman };

namespace board_geometry {

// Where a cell lies on its four lines: the weight of its digit in each line's code (3^position
// from the line's start), which row and diagonals it lies on, and how long the diagonals are.
struct Cell {
    std::int16_t columnWeight;
    std::int16_t rowWeight;
    std::int16_t risingWeight;
    std::int16_t fallingWeight;
    std::uint8_t rising;   // column - row + 5
    std::uint8_t falling;  // column + row - 2
    std::uint8_t risingLength;
    std::uint8_t fallingLength;
};

constexpr std::int16_t PowerOf3(int p) {
    return p == 0 ? 1 : static_cast<std::int16_t>(3 * PowerOf3(p - 1));
}

constexpr std::array<Cell, kCells> BuildCells() {
    std::array<Cell, kCells> cells{};
    for (int col = 1; col <= kColumns; ++col) {
        for (int row = 1; row <= kRows; ++row) {
            // The rising diagonal starts at its lower-left end, the falling one at its lower-right.
            const int risingStart = std::min(col, row) - 1;
            const int fallingStart = std::min(kColumns - col, row - 1);
            const int risingEnd = std::min(kColumns - col, kRows - row);
            const int fallingEnd = std::min(col - 1, kRows - row);
            cells[static_cast<std::size_t>(cellIndex(col, row))] = {
                PowerOf3(row - 1),
                PowerOf3(col - 1),
                PowerOf3(risingStart),
                PowerOf3(fallingStart),
                static_cast<std::uint8_t>(col - row + 5),
                static_cast<std::uint8_t>(col + row - 2),
                static_cast<std::uint8_t>(risingStart + 1 + risingEnd),
                static_cast<std::uint8_t>(fallingStart + 1 + fallingEnd)};
        }
    }
    return cells;
}

inline constexpr std::array<Cell, kCells> kCellsOfBoard = BuildCells();

inline const Cell& At(int col, int row) {
    return kCellsOfBoard[static_cast<std::size_t>(cellIndex(col, row))];
}

}  // namespace board_geometry

class Position {
  public:
    // The position on WorkBoard (computer stones 1, human stones 2).
    static Position FromWorkBoard(const GameRecord& rec);

    bool IsOpen(int col) const { return height_[col] < kRows; }

    void Play(int col, Side side) {
        const int row = ++height_[col];
        (side == Side::Computer ? computer_ : human_) |= CellBit(col, row);
        AddToLines(col, row, static_cast<int>(side));
    }

    void Take(int col) {
        const int row = height_[col]--;
        const std::uint64_t bit = CellBit(col, row);
        const Side side = (computer_ & bit) != 0 ? Side::Computer : Side::Human;
        computer_ &= ~bit;
        human_ &= ~bit;
        AddToLines(col, row, -static_cast<int>(side));
    }

    // The cell where a stone dropped into col lands.
    std::uint64_t LandingBit(int col) const { return CellBit(col, height_[col] + 1); }

    // The empty cells in which a stone of side would complete four.
    std::uint64_t FourCells(Side side) const {
        const std::uint64_t p = side == Side::Computer ? computer_ : human_;
        // Three stones below.
        std::uint64_t cells = (p << 1) & (p << 2) & (p << 3);
        // Rows (shift 7) and the two diagonals (shifts 6 and 8): three stones to one side, or two
        // to one side and one to the other.
        for (const int s : {7, 6, 8}) {
            std::uint64_t pair = (p << s) & (p << 2 * s);
            cells |= pair & (p << 3 * s);
            cells |= pair & (p >> s);
            pair = (p >> s) & (p >> 2 * s);
            cells |= pair & (p << s);
            cells |= pair & (p >> 3 * s);
        }
        return cells & (kAllCells ^ (computer_ | human_));
    }

    // Unique per position: the computer's stones plus a marker bit above each column's top stone.
    std::uint64_t Key() const { return computer_ | ((computer_ | human_) + kBottomRow); }

    // The key after a computer stone is dropped into col.
    std::uint64_t KeyAfterComputerIn(int col) const {
        const std::uint64_t bit = LandingBit(col);
        return computer_ | bit | ((computer_ | human_ | bit) + kBottomRow);
    }

    // The results of the four scans of the evaluation for a human stone dropped into col, packed
    // as kStoneLines indexes them; the position itself is not changed.
    int ScansOfHumanStoneIn(int col) const {
        const int row = height_[col] + 1;
        const board_geometry::Cell& cell = board_geometry::At(col, row);
        constexpr int human = static_cast<int>(Side::Human);
        const int column = columnCode_[static_cast<std::size_t>(col)] + human * cell.columnWeight;
        const int across = rowCode_[static_cast<std::size_t>(row)] + human * cell.rowWeight;
        const int rising = risingCode_[cell.rising] + human * cell.risingWeight;
        const int falling = fallingCode_[cell.falling] + human * cell.fallingWeight;
        return kScanTables.vertical[static_cast<std::size_t>(column)] |
               kScanTables.horizontal[static_cast<std::size_t>(across)] << 2 |
               kScanTables.diagonal[cell.risingLength][static_cast<std::size_t>(rising)] << 4 |
               kScanTables.diagonal[cell.fallingLength][static_cast<std::size_t>(falling)] << 6;
    }

    static constexpr std::uint64_t CellBit(int col, int row) {
        return std::uint64_t{1} << ((col - 1) * 7 + (row - 1));
    }

  private:
    static constexpr std::uint64_t kBottomRow = 0x0040810204081ULL;  // row 1 of every column
    static constexpr std::uint64_t kAllCells = kBottomRow * 0x3F;    // rows 1 to 6

    void AddToLines(int col, int row, int digit) {
        const board_geometry::Cell& cell = board_geometry::At(col, row);
        columnCode_[static_cast<std::size_t>(col)] +=
            static_cast<std::int16_t>(digit * cell.columnWeight);
        rowCode_[static_cast<std::size_t>(row)] +=
            static_cast<std::int16_t>(digit * cell.rowWeight);
        risingCode_[cell.rising] += static_cast<std::int16_t>(digit * cell.risingWeight);
        fallingCode_[cell.falling] += static_cast<std::int16_t>(digit * cell.fallingWeight);
    }

    std::uint64_t computer_ = 0;
    std::uint64_t human_ = 0;
    IndexedArray<std::int16_t, 1, 7> height_;
    std::array<std::int16_t, kColumns + 1> columnCode_{};  // by column 1..7
    std::array<std::int16_t, kRows + 1> rowCode_{};        // by row 1..6
    std::array<std::int16_t, 12> risingCode_{};            // by column - row + 5
    std::array<std::int16_t, 12> fallingCode_{};           // by column + row - 2
};

}  // namespace quorbel
