#pragma once

// The one order in which every search of the look-ahead takes its moves, and the rule that keeps
// its results exactly those of searching stone by stone: the columns from 1 to 7, and the first
// move that makes four ends the search (as does, in the search itself, the first reply that
// refutes and the first answer that wins by force). The line counts are sums over the moves up to
// that end, so taking the moves in any other order, or not stopping where the rule stops, changes
// the counts and with them the computer's choice. The prefetches go by the same order, so that
// they load what the search will look up and nothing past it.

#include <bit>
#include <cstdint>

#include "ai/board_geometry.h"

namespace quorbel {

// The column of the lowest of cells.
constexpr int FirstColumn(std::uint64_t cells) {
    return std::countr_zero(cells) / board_geometry::kBitsPerColumn + 1;
}

// The columns a search takes in turn: the open ones below end. A column at end makes four and ends
// the search; end is past the last column when no column does.
struct ColumnsInOrder {
    int end = kColumns + 1;

    bool EndsInFour() const { return end <= kColumns; }
};

// From the landing cells of the open columns and the cells where the mover's stone makes four.
constexpr ColumnsInOrder ColumnsUntilFour(std::uint64_t landing, std::uint64_t fours) {
    const std::uint64_t fourCells = landing & fours;
    return {fourCells != 0 ? FirstColumn(fourCells) : kColumns + 1};
}

// Whether column col is open, by the landing cells.
constexpr bool IsOpenIn(std::uint64_t landing, int col) {
    return (landing &
            (board_geometry::kColumnBits << (board_geometry::kBitsPerColumn * (col - 1)))) != 0;
}

// The landing cells once a stone has dropped into the landing cell stone: the cell above it
// takes its place, unless the column is full now.
constexpr std::uint64_t LandingAfter(std::uint64_t landing, std::uint64_t stone) {
    return (landing ^ stone) | ((stone << 1) & board_geometry::kAllCells);
}

}  // namespace quorbel
