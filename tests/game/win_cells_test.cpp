#include <gtest/gtest.h>

#include <vector>

#include "game/win_cells.h"
#include "support/positions.h"

namespace quorbel {
namespace {

using testing::Picture;
using testing::setWorkBoard;

struct WinCase {
    const char* name;
    Picture board;  // the winning stone is already on top of column
    int column;
    std::vector<int> cells;  // WinCells(1..n) in scan order
    friend void PrintTo(const WinCase& c, std::ostream* os) { *os << c.name; }
};

class MarkWinCellsTest : public ::testing::TestWithParam<WinCase> {};

TEST_P(MarkWinCellsTest, ListsTheLineInScanOrderAndEndsTheGame) {
    const WinCase& c = GetParam();
    GameRecord rec;
    rec.GameState = kGameRunning;
    setWorkBoard(rec, c.board);
    MarkWinCells(rec, c.column);

    ASSERT_EQ(rec.WinCells[0], static_cast<int>(c.cells.size()));
    for (std::size_t i = 0; i < c.cells.size(); ++i) {
        EXPECT_EQ(rec.WinCells[static_cast<int>(i) + 1], c.cells[i]) << "entry " << i + 1;
    }
    EXPECT_EQ(rec.GameState, kGameWon);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MarkWinCellsTest,
    ::testing::Values(WinCase{"VerticalRowsThreeToSix",
                              {"...1...", "...1...", "...1...", "...1...", "...2...", "...2..."},
                              4,
                              {20, 21, 22, 23}},
                      WinCase{"HorizontalColumnsFourToSeven",
                              {".......", ".......", ".......", ".......", ".......", "22.1111"},
                              7,
                              {18, 24, 30, 36}},
                      WinCase{"FiveWhenAGapJoinsTwoPairs",
                              {".......", ".......", ".......", ".......", ".......", "211111."},
                              4,
                              {6, 12, 18, 24, 30}},
                      WinCase{"RisingDiagonal",
                              {".......", ".......", "...1...", "..12...", ".122...", "1222..."},
                              4,
                              {0, 7, 14, 21}},
                      WinCase{"FallingFromColumnSeven",
                              {".......", ".......", "...1...", "...21..", "...221.", "...2221"},
                              7,
                              {36, 31, 26, 21}}),
    [](const ::testing::TestParamInfo<WinCase>& info) { return std::string(info.param.name); });

TEST(MarkWinCells, WithoutALineStillEndsTheGameAndListsFewerThanFour) {
    GameRecord rec;
    setWorkBoard(rec, {".......", ".......", ".......", ".......", ".......", "...1..."});
    MarkWinCells(rec, 4);
    EXPECT_LT(rec.WinCells[0], 4);
    EXPECT_EQ(rec.GameState, kGameWon);
}

}  // namespace
}  // namespace quorbel
