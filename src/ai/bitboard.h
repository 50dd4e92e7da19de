#pragma once

// The analysis board as the look-ahead keeps it: one bitboard per side with 7 bits per column (six
// rows and an empty guard bit), bit (column - 1) * 7 + (row - 1); and, for the evaluation's table
// lookups, the base-4 code of every line of the board (columns, rows, diagonals of four cells or
// more), landing cells marked, kept up to date stone by stone.

#include <algorithm>
#include <array>
#include <cstdint>

#include "ai/line_scans.h"
#include "game/record.h"

namespace quorbel {

enum class Side : std::int16_t { Computer = kComputer, Human = kHuman };

namespace board_geometry {

// The lines: the columns, the rows, the rising and the falling diagonals of four cells or more,
// and one line, never changed, that stands for every shorter diagonal.
constexpr int kFirstRow = kColumns;
constexpr int kFirstRising = kFirstRow + kRows;  // for column - row = -2 .. 3
constexpr int kFirstFalling = kFirstRising + 6;  // for column + row = 5 .. 10
constexpr int kShortLine = kFirstFalling + 6;
constexpr int kLines = kShortLine + 1;

// Where a cell lies on its four lines, in the order of the evaluation's scans (column, row,
// rising and falling diagonal): each line's index and the weight of the cell's digit in its code
// (4^position from the line's start; 0 on the short line).
struct Cell {
    std::array<std::uint8_t, 4> lines;
    std::array<std::int16_t, 4> weights;
};

constexpr std::int16_t PowerOf4(int p) {
    return static_cast<std::int16_t>(1 << (2 * p));
}

constexpr LineKind DiagonalKind(int length) {
    return length == 4   ? LineKind::Diagonal4
           : length == 5 ? LineKind::Diagonal5
           : length == 6 ? LineKind::Diagonal6
                         : LineKind::Short;
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

// By side (computer, human) and cell.
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

inline const Cell& At(int col, int row) {
    return kCellsOfBoard[static_cast<std::size_t>(cellIndex(col, row))];
}

}  // namespace board_geometry

class Position {
  public:
    // The empty board: every cell of row 1 is a landing cell.
    Position();

    // The position on WorkBoard (computer stones 1, human stones 2).
    static Position FromWorkBoard(const GameRecord& rec);

    bool IsOpen(int col) const { return height_[col] < kRows; }

    void Play(int col, Side side) {
        const int row = ++height_[col];
        (side == Side::Computer ? computer_ : human_) |= CellBit(col, row);
        const board_geometry::Drop& drop = board_geometry::DropOf(col, row, static_cast<int>(side));
        for (std::size_t k = 0; k < drop.lines.size(); ++k) {
            code_[drop.lines[k]] =
                static_cast<std::uint16_t>(code_[drop.lines[k]] + drop.changes[k]);
        }
    }

    // Takes the top stone of col, which side played.
    void Take(int col, Side side) {
        const int row = height_[col]--;
        (side == Side::Computer ? computer_ : human_) &= ~CellBit(col, row);
        const board_geometry::Drop& drop = board_geometry::DropOf(col, row, static_cast<int>(side));
        for (std::size_t k = 0; k < drop.lines.size(); ++k) {
            code_[drop.lines[k]] =
                static_cast<std::uint16_t>(code_[drop.lines[k]] - drop.changes[k]);
        }
    }

    // The row and the cell where a stone dropped into col lands.
    int LandingRow(int col) const { return height_[col] + 1; }
    std::uint64_t LandingBit(int col) const { return CellBit(col, height_[col] + 1); }

    // The cells where the next stone of each open column lands.
    std::uint64_t LandingCells() const { return ((computer_ | human_) + kBottomRow) & kAllCells; }

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

    // The key after a human stone is dropped into col.
    std::uint64_t KeyAfterHumanIn(int col) const {
        return computer_ | ((computer_ | human_ | LandingBit(col)) + kBottomRow);
    }

    // The key after a human stone is dropped into col and then a computer stone into answer.
    std::uint64_t KeyAfterHumanAndComputerIn(int col, int answer) const {
        const std::uint64_t occupied = computer_ | human_ | LandingBit(col);
        const std::uint64_t stone = (occupied + kBottomRow) & (kColumnBits << (7 * (answer - 1)));
        return computer_ | stone | ((occupied | stone) + kBottomRow);
    }

    // The key after a computer stone is dropped into col.
    std::uint64_t KeyAfterComputerIn(int col) const {
        const std::uint64_t bit = LandingBit(col);
        return computer_ | bit | ((computer_ | human_ | bit) + kBottomRow);
    }

    // The results of the four scans of the evaluation for a human stone dropped into col, packed
    // as kStoneLines indexes them; the position itself is not changed.
    int ScansOfHumanStoneIn(int col) const {
        const board_geometry::Cell& cell = board_geometry::At(col, height_[col] + 1);
        int scans = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            // The landing cell's digit 3 becomes the human's 2.
            const int code = code_[cell.lines[k]] - cell.weights[k];
            scans |= kScans[static_cast<std::size_t>(code)] << (2 * k);
        }
        return scans;
    }

    // What the evaluation records for a human stone dropped into column reply after a computer
    // stone is dropped into column answer (nothing when the column has no room); the position
    // itself is not changed. The stone changes the lines it shares with the reply's cell, and in
    // its own column the reply lands on top of it.
    PackedLines LinesOfHumanStoneAfterComputerIn(int answer, int reply) const {
        const int row = height_[reply] + 1 + (reply == answer ? 1 : 0);
        if (row > kRows) {
            return 0;
        }
        const board_geometry::Cell& stone = board_geometry::At(answer, height_[answer] + 1);
        const board_geometry::Cell& cell = board_geometry::At(reply, row);
        // The reply's cell turns from landing, or on top of the answer from empty, to human.
        const int change = kHumanDigit - (reply == answer ? kEmptyDigit : kLandingDigit);
        constexpr int kStone = kComputerDigit - kLandingDigit;
        int scans = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int shared = cell.lines[k] == stone.lines[k] ? 1 : 0;
            const int code = code_[cell.lines[k]] + change * cell.weights[k] +
                             shared * kStone * stone.weights[k];
            scans |= kScans[static_cast<std::size_t>(code)] << (2 * k);
        }
        return kStoneLines[static_cast<std::size_t>(scans)].packed;
    }

    // What the evaluation records over every reply of the human, each as if it were the only one:
    // the evaluations summed without regard to a four that would end the replies.
    PackedLines LinesOfAllReplies() const {
        PackedLines sum = 0;
        for (const std::uint16_t code : code_) {
            sum += kReplyLines[code];
        }
        return sum;
    }

    // The same after a computer stone is dropped into col, from linesNow, what it is now; the
    // position itself is not changed. Only the lines through the stone's cell and through the cell
    // above it change. Wraps around below zero on the way: the sum comes out right.
    PackedLines LinesOfAllRepliesAfterComputerIn(int col, PackedLines linesNow) const {
        const board_geometry::Drop& drop =
            board_geometry::DropOf(col, height_[col] + 1, kComputerDigit);
        PackedLines lines = linesNow;
        for (std::size_t k = 0; k < drop.lines.size(); ++k) {
            const int code = code_[drop.lines[k]];
            const int changed = code + drop.changes[k];
            lines += kReplyLines[static_cast<std::size_t>(changed)] -
                     kReplyLines[static_cast<std::size_t>(code)];
        }
        return lines;
    }

    static constexpr std::uint64_t CellBit(int col, int row) {
        return std::uint64_t{1} << ((col - 1) * 7 + (row - 1));
    }

  private:
    static constexpr std::uint64_t kBottomRow = 0x0040810204081ULL;  // row 1 of every column
    static constexpr std::uint64_t kAllCells = kBottomRow * 0x3F;    // rows 1 to 6
    static constexpr std::uint64_t kColumnBits = 0x7F;               // column 1 and its guard bit

    // Adds change times the cell's weight to the codes of the cell's four lines.
    void ChangeDigit(int col, int row, int change) {
        const board_geometry::Cell& cell = board_geometry::At(col, row);
        for (std::size_t k = 0; k < 4; ++k) {
            code_[cell.lines[k]] =
                static_cast<std::uint16_t>(code_[cell.lines[k]] + change * cell.weights[k]);
        }
    }

    std::uint64_t computer_ = 0;
    std::uint64_t human_ = 0;
    IndexedArray<std::int16_t, 1, 7> height_;
    // Every line's code plus its kind's offset: its index in the evaluation's tables.
    std::array<std::uint16_t, board_geometry::kLines> code_{};
};

}  // namespace quorbel
