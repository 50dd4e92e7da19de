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

// The columns a search takes in turn, as the landing cells of their stones.
struct ColumnsInOrder {
    std::uint64_t searched = 0;  // the open columns before the first whose stone makes four
    bool endsInFour = false;     // a column after those makes four and ends the search
};

// From the landing cells of the open columns and the cells where the mover's stone makes four.
constexpr ColumnsInOrder ColumnsUntilFour(std::uint64_t landing, std::uint64_t fours) {
    const std::uint64_t fourCells = landing & fours;
    // Cells are numbered column by column, so the lowest is in the lowest column.
    const std::uint64_t firstFour = fourCells & (~fourCells + 1);
    return {firstFour != 0 ? landing & (firstFour - 1) : landing, firstFour != 0};
}

// The column of the lowest of cells.
constexpr int FirstColumn(std::uint64_t cells) {
    return std::countr_zero(cells) / board_geometry::kBitsPerColumn + 1;
}

// The landing cells once a stone has dropped into the landing cell stone: the cell above it
// takes its place, unless the column is full now.
constexpr std::uint64_t LandingAfter(std::uint64_t landing, std::uint64_t stone) {
    return (landing ^ stone) | ((stone << 1) & board_geometry::kAllCells);
}

// Calls visit(column) for every column of cells, from the lowest.
template <typename Visit>
void ForEachColumn(std::uint64_t cells, Visit visit) {
    for (; cells != 0; cells &= cells - 1) {
        visit(FirstColumn(cells));
    }
}

}  // namespace quorbel
