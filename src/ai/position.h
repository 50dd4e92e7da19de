#pragma once

// The analysis board as the look-ahead keeps it: one bitboard per side (board_geometry.h gives
// the bit of each cell), the height of each column, and the code of every line of the board with
// its landing cells marked, kept up to date stone by stone for the evaluation (evaluation.h).

#include <array>
#include <cstdint>

#include "ai/board_geometry.h"
#include "game/record.h"

namespace quorbel {

enum class Side : std::int16_t { Computer = kComputer, Human = kHuman };

class Position {
  public:
    // The empty board: every cell of row 1 is a landing cell.
    Position();

    // The position on WorkBoard (computer stones 1, human stones 2).
    static Position FromWorkBoard(const GameRecord& rec);

    bool IsOpen(int col) const { return height_[col] < kRows; }

    void Play(int col, Side side) {
        const int row = ++height_[col];
        (side == Side::Computer ? computer_ : human_) |= board_geometry::BitOf(col, row);
        ChangeLines(board_geometry::DropOf(col, row, static_cast<int>(side)), 1);
    }

    // Takes the top stone of col, which side played.
    void Take(int col, Side side) {
        const int row = height_[col]--;
        (side == Side::Computer ? computer_ : human_) &= ~board_geometry::BitOf(col, row);
        ChangeLines(board_geometry::DropOf(col, row, static_cast<int>(side)), -1);
    }

    // The row and the cell where a stone dropped into col lands.
    int LandingRow(int col) const { return height_[col] + 1; }
    std::uint64_t LandingBit(int col) const { return board_geometry::BitOf(col, height_[col] + 1); }

    // The cells where the next stone of each open column lands.
    std::uint64_t LandingCells() const {
        return ((computer_ | human_) + board_geometry::kBottomRow) & board_geometry::kAllCells;
    }

    // The empty cells in which a stone of side would complete four. Out of line: inlined into the
    // search's loops it takes registers they need (docs/engine.md, "Speed").
    [[gnu::noinline]] std::uint64_t FourCells(Side side) const {
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
        return cells & (board_geometry::kAllCells ^ (computer_ | human_));
    }

    // Unique per position and never 0: the computer's stones plus a marker bit above each column's
    // top stone, 49 bits.
    std::uint64_t Key() const {
        return computer_ | ((computer_ | human_) + board_geometry::kBottomRow);
    }

    // The key after a human stone is dropped into col.
    std::uint64_t KeyAfterHumanIn(int col) const {
        return computer_ | ((computer_ | human_ | LandingBit(col)) + board_geometry::kBottomRow);
    }

    // The key after a computer stone is dropped into col.
    std::uint64_t KeyAfterComputerIn(int col) const {
        const std::uint64_t bit = LandingBit(col);
        return computer_ | bit | ((computer_ | human_ | bit) + board_geometry::kBottomRow);
    }

    // The key after a human stone is dropped into reply and then a computer stone into answer.
    std::uint64_t KeyAfterHumanAndComputerIn(int reply, int answer) const {
        const std::uint64_t occupied = computer_ | human_ | LandingBit(reply);
        const std::uint64_t stone = (occupied + board_geometry::kBottomRow) &
                                    (board_geometry::kColumnBits << (7 * (answer - 1)));
        return computer_ | stone | ((occupied | stone) + board_geometry::kBottomRow);
    }

    // A line's code plus its kind's offset: its index in the evaluation's tables.
    int Code(int line) const { return code_[static_cast<std::size_t>(line)]; }
    const std::array<std::uint16_t, board_geometry::kLines>& Codes() const { return code_; }

  private:
    void ChangeLines(const board_geometry::Drop& drop, int sign) {
        for (std::size_t k = 0; k < drop.lines.size(); ++k) {
            code_[drop.lines[k]] =
                static_cast<std::uint16_t>(code_[drop.lines[k]] + sign * drop.changes[k]);
        }
    }

    std::uint64_t computer_ = 0;
    std::uint64_t human_ = 0;
    IndexedArray<std::int16_t, 1, 7> height_;
    std::array<std::uint16_t, board_geometry::kLines> code_{};
};

}  // namespace quorbel
