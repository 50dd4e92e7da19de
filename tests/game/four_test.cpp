#include <gtest/gtest.h>

#include "game/record.h"
#include "support/positions.h"

namespace quorbel {
namespace {

using testing::Picture;
using testing::setWorkBoard;

TEST(StoneOperations, PlaceAndTakeRestoreTheBoardExactly) {
    GameRecord rec;
    setWorkBoard(rec, {".......", ".......", ".......", ".......", "..2....", "..1...."});
    const GameRecord before = rec;
    rec.TryCompMove(3);
    EXPECT_EQ(rec.WorkColHeight[3], 3);
    EXPECT_EQ(rec.WorkBoard(3, 3), kComputer);
    rec.TakeStone(3);
    rec.SetHumanStone(5);
    EXPECT_EQ(rec.WorkBoard(5, 1), kHuman);
    rec.TakeStone(5);
    EXPECT_EQ(rec.WorkBoard, before.WorkBoard);
    EXPECT_EQ(rec.WorkColHeight, before.WorkColHeight);
}

TEST(StoneOperations, EachTestClearsOnlyItsOwnFlag) {
    GameRecord rec;
    rec.CompWon = true;
    rec.HumanWon = true;
    rec.TryCompMove(1);
    EXPECT_FALSE(rec.CompWon);
    EXPECT_TRUE(rec.HumanWon);
    rec.CompWon = true;
    rec.CheckHumanFour(1);
    EXPECT_FALSE(rec.HumanWon);
    EXPECT_TRUE(rec.CompWon);
}

struct FourCase {
    const char* name;
    Picture before;  // the position before the last stone
    int column;      // where the last stone drops
    int code;        // 1: TryCompMove, 2: SetHumanStone + CheckHumanFour
    bool four;
    friend void PrintTo(const FourCase& c, std::ostream* os) { *os << c.name; }
};

class FourTest : public ::testing::TestWithParam<FourCase> {};

TEST_P(FourTest, FindsExactlyTheFoursThroughTheTopStone) {
    const FourCase& c = GetParam();
    GameRecord rec;
    setWorkBoard(rec, c.before);
    if (c.code == kComputer) {
        rec.TryCompMove(c.column);
        EXPECT_EQ(rec.CompWon, c.four);
    } else {
        rec.SetHumanStone(c.column);
        rec.CheckHumanFour(c.column);
        EXPECT_EQ(rec.HumanWon, c.four);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FourTest,
    ::testing::Values(FourCase{"Vertical",
                               {".......", ".......", ".......", "1......", "1......", "1......"},
                               1,
                               1,
                               true},
                      FourCase{"VerticalHigh",
                               {".......", ".1.....", ".1.....", ".1.....", ".2.....", ".2....."},
                               2,
                               1,
                               true},
                      FourCase{"VerticalThreeOnly",
                               {".......", ".......", ".......", ".......", "1......", "1......"},
                               1,
                               1,
                               false},
                      FourCase{"RowGapFilled",
                               {".......", ".......", ".......", ".......", ".......", "22.2..."},
                               3,
                               2,
                               true},
                      FourCase{"RowRightEnd",
                               {".......", ".......", ".......", ".......", ".......", "...111."},
                               7,
                               1,
                               true},
                      FourCase{"RowBrokenByOpponent",
                               {".......", ".......", ".......", ".......", ".......", "1112..."},
                               5,
                               1,
                               false},
                      FourCase{"RowFourElsewhereCounts",
                               {".......", ".......", ".......", ".......", ".......", "2222..."},
                               7,
                               2,
                               true},
                      FourCase{"RisingLastAtTop",
                               {".......", ".......", ".......", "..12...", ".122...", "1221..."},
                               4,
                               1,
                               true},
                      FourCase{"RisingLastAtBottomLeft",
                               {".......", ".......", "...1...", "..12...", ".122...", ".222..."},
                               1,
                               1,
                               true},
                      FourCase{"FallingLastAtTopLeft",
                               {".......", ".......", ".......", "12.....", "112....", "1112..."},
                               1,
                               2,
                               true},
                      FourCase{"FallingLastAtBottomRight",
                               {".......", ".......", "2......", "12.....", "112....", "111...."},
                               4,
                               2,
                               true},
                      FourCase{"ShortDiagonal",
                               {"..1....", ".12....", ".21....", "212....", "121....", "212...."},
                               1,
                               1,
                               false},
                      FourCase{"FallingOnRightEdge",
                               {".......", ".......", "...1...", "...21..", "...221.", "...222."},
                               7,
                               1,
                               true},
                      FourCase{"NoLine",
                               {".......", ".......", ".......", ".......", ".......", "......."},
                               4,
                               1,
                               false}),
    [](const ::testing::TestParamInfo<FourCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorbel
