// Start-up, the start of a game with either side beginning, and the return to the idle state.

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;

class Startup : public GameFixture {};

TEST_F(Startup, LoadSetsTheStartValuesAndStartsNoGame) {
    EXPECT_EQ(rec().GameState, kNoGame);
    EXPECT_EQ(rec().MoveNr, 0);
    EXPECT_TRUE(rec().Defensive);
    EXPECT_FALSE(rec().BlueToMove);
    EXPECT_FALSE(rec().HumanIsRed);
    EXPECT_EQ(rec().HumanName, "Mensch");
    EXPECT_EQ(rec().CompName, "Computer");
    EXPECT_EQ(rec().RedColor, 255);
    EXPECT_EQ(static_cast<Color>(rec().BlueColor), rgb(0, 0, 255));
    EXPECT_EQ(rec().MoveList[0], 1);
    EXPECT_EQ(caption(Control::optMen), "Mensch");
    EXPECT_EQ(caption(Control::optMenMen), "Mensch");
    EXPECT_EQ(toolkit.timerInterval, 1000);
    EXPECT_TRUE(toolkit.timerEnabled);
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(toolkit.visible({Control::cmdFeld, i}));
    }
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(toolkit.visible({Control::cmdMenue, i}), i == 0 || i >= 4) << i;
    }
    EXPECT_EQ(toolkit.count("color Feld"), 0);  // the board keeps its design-time look
}

TEST_F(Startup, StartWithTheHumanBeginningWaitsForAClick) {
    start(false);
    EXPECT_EQ(rec().GameState, kGameRunning);
    EXPECT_EQ(rec().MoveNr, 1);
    EXPECT_TRUE(rec().HumanIsRed);
    EXPECT_EQ(player.calls, 0);
    EXPECT_EQ(caption(Control::lblZugfeld), "1. Zug");
    EXPECT_EQ(caption(Control::lblZug), "Mensch ist am Zug");
    EXPECT_EQ(caption(Control::lblRot), "Mensch");
    EXPECT_EQ(caption(Control::lblBlau), "Computer");
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(toolkit.visible({Control::cmdFeld, i}));
        EXPECT_EQ(toolkit.color({Control::cmdFeld, i}), PaletteColor(10));
    }
    for (int cell = 0; cell < kCells; ++cell) {
        EXPECT_EQ(toolkit.color({Control::Feld, cell}), PaletteColor(15));
    }
    EXPECT_FALSE(toolkit.visible({Control::cmdMenue, 0}));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(toolkit.visible({Control::cmdMenue, i}));
    }
}

TEST_F(Startup, StartWithTheComputerBeginningPlaysItsRedStone) {
    start(true, 5);
    EXPECT_EQ(rec().MoveNr, 2);
    EXPECT_FALSE(rec().HumanIsRed);
    EXPECT_TRUE(rec().BlueToMove);
    EXPECT_EQ(rec().Board(5, 1), kRed);
    EXPECT_EQ(cellColor(5, 1), rgb(255, 0, 0));
    EXPECT_EQ(caption(Control::lblZug), "Mensch ist am Zug");
    EXPECT_EQ(caption(Control::lblRot), "Computer");
    EXPECT_EQ(caption(Control::lblZugfeld), "2. Zug");
    EXPECT_TRUE(toolkit.timerEnabled);
    // The column buttons appear only after the computer's stone.
    const auto& calls = toolkit.calls;
    const auto stone = std::find(calls.begin(), calls.end(), "repaint Feld_24");
    const auto shown = std::find(calls.begin(), calls.end(), "show cmdFeld_0");
    EXPECT_LT(stone, shown);
}

TEST_F(Startup, NewGameDuringABlinkReturnsToIdle) {
    start(false);
    play("1213121");
    ASSERT_EQ(rec().GameState, kGameWon);
    game.SetLevel(6);
    menu(1);
    EXPECT_EQ(rec().GameState, kNoGame);
    EXPECT_EQ(rec().MoveNr, 1);
    EXPECT_FALSE(rec().CompWon);
    EXPECT_EQ(caption(Control::lblStaerke), "1");
    for (Control label :
         {Control::lblRot, Control::lblBlau, Control::lblZug, Control::lblZugfeld}) {
        EXPECT_EQ(caption(label), "");
    }
    for (int cell = 0; cell < kCells; ++cell) {
        EXPECT_EQ(toolkit.color({Control::Feld, cell}), PaletteColor(15));
    }
    EXPECT_TRUE(toolkit.visible({Control::cmdMenue, 0}));
    EXPECT_FALSE(toolkit.visible({Control::cmdMenue, 2}));
    EXPECT_FALSE(toolkit.visible({Control::cmdFeld, 3}));
    EXPECT_TRUE(toolkit.timerEnabled);
    EXPECT_EQ(toolkit.timerInterval, 10);  // left as the blink set it
    toolkit.clearLog();
    tick();  // the next tick runs the menu-button show
    EXPECT_EQ(toolkit.count("repaint cmdMenü_"), 6 * 251);
    EXPECT_EQ(toolkit.count("repaint Feld"), 0);
}

TEST_F(Startup, StartGameLeavesTheAnalysisBoardAndTheWinLine) {
    start(false);
    play("1213121");
    const GameRecord won = rec();
    game.StartGame();
    EXPECT_EQ(rec().WorkBoard, won.WorkBoard);
    EXPECT_EQ(rec().WinCells, won.WinCells);
    EXPECT_EQ(rec().GameState, kGameWon);
    for (int column = 1; column <= kColumns; ++column) {
        EXPECT_EQ(rec().ColHeight[column], 0);
    }
}

}  // namespace
}  // namespace quorbel
