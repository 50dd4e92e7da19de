// The display of a played stone: flicker of the landing cell and its column button, final colours,
// and the marking of the last move's column.

#include <algorithm>

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;

class StoneDisplay : public GameFixture {
  protected:
    // The colours a control was given, in order, from the call log.
    std::vector<std::string> colorsOf(ControlRef ref) const {
        std::vector<std::string> colors;
        const std::string prefix = "color " + objectName(ref) + "=";
        for (const auto& call : toolkit.calls) {
            if (call.rfind(prefix, 0) == 0) {
                colors.push_back(call.substr(prefix.size()));
            }
        }
        return colors;
    }
    static std::string str(Color c) { return std::to_string(c); }
};

TEST_F(StoneDisplay, FlickersFiveTimesThenTakesTheStoneColour) {
    start(false);
    toolkit.clearLog();
    game.record().CurCol = 3;
    game.ShowMove();
    const ControlRef button{Control::cmdFeld, 2};
    const ControlRef cell{Control::Feld, 12};  // column 3, row 1: the lowest cell
    EXPECT_EQ(toolkit.repaints(button), 6);
    EXPECT_EQ(toolkit.repaints(cell), 6);
    const auto cellColors = colorsOf(cell);
    ASSERT_EQ(cellColors.size(), 6u);
    EXPECT_EQ(cellColors.back(), str(rgb(255, 0, 0)));
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NE(cellColors[i], str(PaletteColor(0)));
    }
    EXPECT_EQ(toolkit.color(button), rgb(255, 0, 0));
    EXPECT_EQ(rec().ColHeight[3], 1);
    EXPECT_EQ(rec().Board(3, 1), kRed);
    EXPECT_EQ(rec().MoveList[1], 12);
    EXPECT_EQ(rec().MoveNr, 1);  // ShowMove leaves the turn alone
}

TEST_F(StoneDisplay, TheFirstMoveResetsButtonZeroWhateverTheColumn) {
    start(false);
    toolkit.setColor({Control::cmdFeld, 0}, rgb(1, 2, 3));
    toolkit.clearLog();
    game.record().CurCol = 6;
    game.ShowMove();
    ASSERT_FALSE(toolkit.calls.empty());
    EXPECT_EQ(toolkit.calls.front(), "color cmdFeld_0=" + str(PaletteColor(10)));
}

TEST_F(StoneDisplay, SecondStoneInTheSameColumnResetsThenRecoloursItsButton) {
    start(false);
    toolkit.clearLog();
    play("44");
    const auto colors = colorsOf({Control::cmdFeld, 3});
    // The human's stone: five flickers, then red. The computer's: light green, five flickers, blue.
    ASSERT_EQ(colors.size(), 13u);
    EXPECT_EQ(colors[5], str(rgb(255, 0, 0)));
    EXPECT_EQ(colors[6], str(PaletteColor(10)));
    EXPECT_EQ(colors.back(), str(rgb(0, 0, 255)));
    EXPECT_EQ(toolkit.color({Control::Feld, cellIndex(4, 2)}), rgb(0, 0, 255));
}

TEST_F(StoneDisplay, OnlyTheComputersColumnStaysMarkedAfterItsAnswer) {
    start(false);
    play("2536");
    for (int i = 0; i < 7; ++i) {
        const Color expected = i == 5 ? rgb(0, 0, 255) : PaletteColor(10);
        EXPECT_EQ(toolkit.color({Control::cmdFeld, i}), expected) << "button " << i;
    }
}

}  // namespace
}  // namespace quorbel
