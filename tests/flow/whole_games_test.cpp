// Whole games through the column clicks, with a scripted computer.

#include <algorithm>
#include <vector>

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;
using testing::kDrawnGame;

std::vector<int> winCells(const GameRecord& rec) {
    std::vector<int> cells;
    for (int i = 1; i <= rec.WinCells[0]; ++i) {
        cells.push_back(rec.WinCells[i]);
    }
    return cells;
}

class WholeGames : public GameFixture {};

struct HumanWin {
    const char* name;
    bool computerBegins;
    const char* moves;  // after the computer's first stone when it begins; the human makes the last
    std::vector<int> cells;
    friend void PrintTo(const HumanWin& c, std::ostream* os) { *os << c.name; }
};

class HumanFour : public GameFixture, public ::testing::WithParamInterface<HumanWin> {};

TEST_P(HumanFour, EndsTheGameAndMarksTheLine) {
    const HumanWin& c = GetParam();
    start(c.computerBegins, 7);
    play(c.moves);
    const int humanMoves = static_cast<int>(std::string_view(c.moves).size() + 1) / 2;
    const int lastMove = 2 * humanMoves - (c.computerBegins ? 0 : 1);

    EXPECT_EQ(rec().GameState, kGameWon);
    EXPECT_EQ(rec().MoveNr, lastMove);
    EXPECT_EQ(rec().BlueToMove, c.computerBegins);  // the human's colour
    EXPECT_EQ(winCells(rec()), c.cells);
    EXPECT_EQ(caption(Control::lblMessage), "Du hast gewonnen");
    EXPECT_TRUE(toolkit.timerEnabled);
    EXPECT_EQ(toolkit.timerInterval, 10);
    EXPECT_TRUE(player.columns.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Directions, HumanFour,
    ::testing::Values(HumanWin{"Vertical", false, "1213121", {0, 1, 2, 3}},
                      HumanWin{"Horizontal", false, "1121314", {0, 6, 12, 18}},
                      HumanWin{"RisingDiagonal", false, "1223733474644", {0, 7, 14, 21}},
                      HumanWin{"FallingDiagonal", false, "7665155414244", {36, 31, 26, 21}},
                      HumanWin{"LineOfFive", false, "112244553", {0, 6, 12, 18, 24}},
                      HumanWin{"AsBlue", true, "1213121", {0, 1, 2, 3}}),
    [](const ::testing::TestParamInfo<HumanWin>& info) { return std::string(info.param.name); });

TEST_F(WholeGames, ComputerFourEndsTheGameOnItsMove) {
    start(false);
    play("17271727");
    EXPECT_EQ(rec().GameState, kGameWon);
    EXPECT_EQ(rec().MoveNr, 8);
    EXPECT_TRUE(rec().BlueToMove);
    EXPECT_EQ(winCells(rec()), (std::vector<int>{36, 37, 38, 39}));
    EXPECT_EQ(caption(Control::lblMessage), "Ich habe gewonnen !");
    EXPECT_EQ(caption(Control::lblZugfeld), "8. Zug");  // not advanced after the four
    EXPECT_EQ(toolkit.timerInterval, 10);
}

TEST_F(WholeGames, DrawByTheHumansFortySecondStone) {
    start(true, kDrawnGame[0] - '0');
    play(kDrawnGame.substr(1));
    EXPECT_EQ(rec().MoveNr, 43);
    EXPECT_EQ(rec().GameState, kGameRunning);
    EXPECT_EQ(caption(Control::lblMessage), "Unentschieden!");
    EXPECT_EQ(caption(Control::lblZugfeld), "42. Zug");
    EXPECT_TRUE(rec().BlueToMove == false);  // inverted once more by the final NextMove
    EXPECT_TRUE(toolkit.timerEnabled);
    for (int column = 1; column <= kColumns; ++column) {
        EXPECT_EQ(rec().ColHeight[column], 6);
    }
}

TEST_F(WholeGames, DrawByTheComputersFortySecondStone) {
    start(false);
    play(kDrawnGame);
    EXPECT_EQ(rec().MoveNr, 43);
    EXPECT_EQ(caption(Control::lblMessage), "Unentschieden!");
    EXPECT_EQ(caption(Control::lblZugfeld), "42. Zug");
    EXPECT_FALSE(rec().BlueToMove);
    // The message flashes before the final NextMove: it is the last thing shown.
    const auto& calls = toolkit.calls;
    const auto message = std::find(calls.begin(), calls.end(), "caption lblMessage=Unentschieden!");
    ASSERT_NE(message, calls.end());
    EXPECT_EQ(std::count(message, calls.end(), "repaint lblMessage"), 50);
}

TEST_F(WholeGames, ClicksAfterTheEndChangeNothing) {
    start(false);
    play("1213121");
    ASSERT_EQ(rec().GameState, kGameWon);
    toolkit.clearLog();
    const GameRecord before = rec();
    for (int column = 1; column <= kColumns; ++column) {
        click(column);
    }
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(rec().CurCol, before.CurCol);
    EXPECT_EQ(rec().Board, before.Board);

    menu(1);  // "Neues Spiel"
    start(false);
    play(kDrawnGame);
    toolkit.clearLog();
    click(4);
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(caption(Control::lblMessage), "Unentschieden!");
}

TEST_F(WholeGames, AFullColumnOnlyMovesCurCol) {
    start(false);
    play("111111");
    player.columns.push_back(7);
    click(2);  // leaves a message-free position with the human to move
    toolkit.setCaption(Control::lblMessage, "alt");
    toolkit.clearLog();
    const GameRecord before = rec();
    click(1);
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(rec().CurCol, 1);
    EXPECT_EQ(rec().MoveNr, before.MoveNr);
    EXPECT_EQ(rec().Board, before.Board);
    EXPECT_EQ(caption(Control::lblMessage), "alt");
}

TEST_F(WholeGames, AMoveShowsBothStonesAndPassesTheTurnBack) {
    start(false);
    play("43");
    EXPECT_EQ(rec().MoveNr, 3);
    EXPECT_FALSE(rec().BlueToMove);
    EXPECT_EQ(rec().Board(4, 1), kRed);
    EXPECT_EQ(rec().Board(3, 1), kBlue);
    EXPECT_EQ(rec().MoveList[1], cellIndex(4, 1));
    EXPECT_EQ(rec().MoveList[2], cellIndex(3, 1));
    EXPECT_EQ(cellColor(4, 1), rgb(255, 0, 0));
    EXPECT_EQ(cellColor(3, 1), rgb(0, 0, 255));
    EXPECT_EQ(caption(Control::lblZug), "Mensch ist am Zug");
    EXPECT_EQ(caption(Control::lblZugfeld), "3. Zug");
    EXPECT_EQ(toolkit.pointer, MousePointer::Default);
    EXPECT_TRUE(toolkit.timerEnabled);
    // The timer is off from the human's stone until the computer's stone is shown.
    const auto& calls = toolkit.calls;
    const auto off = std::find(calls.begin(), calls.end(), "timer off");
    const auto on = std::find(off, calls.end(), "timer on");
    const auto computerStone =
        std::find(calls.begin(), calls.end(), "color Feld_12=" + std::to_string(rgb(0, 0, 255)));
    EXPECT_LT(off, computerStone);
    EXPECT_LT(computerStone, on);
}

}  // namespace
}  // namespace quorbel
