// The menu buttons: take-back, the computer move on request, info, end, and the style options.

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;
using testing::kDrawnGame;

class MenuHandlers : public GameFixture {
  protected:
    void takeBack() { menu(2); }
    void computerMove() { menu(3); }
    int stones() const {
        int n = 0;
        for (int column = 1; column <= kColumns; ++column) {
            n += rec().ColHeight[column];
        }
        return n;
    }
};

TEST_F(MenuHandlers, TakeBackOnAnEmptyBoardDoesNothing) {
    start(false);
    toolkit.setCaption(Control::lblMessage, "bleibt");
    toolkit.clearLog();
    const GameRecord before = rec();
    takeBack();
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(rec().MoveNr, before.MoveNr);
    EXPECT_EQ(caption(Control::lblMessage), "bleibt");
}

TEST_F(MenuHandlers, TakeBackOfTheComputersOpeningLeavesRedToTheHuman) {
    start(true, 6);
    takeBack();
    EXPECT_EQ(stones(), 0);
    EXPECT_EQ(rec().MoveNr, 1);
    EXPECT_FALSE(rec().BlueToMove);
    EXPECT_TRUE(rec().HumanIsRed);
    EXPECT_EQ(rec().MoveList[1], 0);
    EXPECT_EQ(toolkit.color({Control::cmdFeld, 0}), PaletteColor(10));
    EXPECT_EQ(toolkit.color({Control::cmdFeld, 5}), PaletteColor(10));
    EXPECT_EQ(cellColor(6, 1), PaletteColor(15));
    EXPECT_EQ(caption(Control::lblZug), "Mensch ist am Zug");
    EXPECT_EQ(caption(Control::lblZugfeld), "1. Zug");
}

TEST_F(MenuHandlers, OneTakeBackRemovesOnlyTheComputersAnswer) {
    start(false);
    play("43");
    const int computerMoves = player.calls;
    takeBack();
    EXPECT_EQ(stones(), 1);
    EXPECT_EQ(rec().Board(3, 1), kEmpty);
    EXPECT_EQ(rec().MoveNr, 2);
    EXPECT_TRUE(rec().BlueToMove);
    EXPECT_FALSE(rec().HumanIsRed);                                   // the human now plays blue
    EXPECT_EQ(toolkit.color({Control::cmdFeld, 3}), rgb(255, 0, 0));  // the last stone's column
    EXPECT_EQ(toolkit.color({Control::cmdFeld, 2}), PaletteColor(10));
    EXPECT_EQ(caption(Control::lblZug), "Mensch ist am Zug");
    EXPECT_EQ(player.calls, computerMoves);  // no computer move follows
    EXPECT_TRUE(toolkit.timerEnabled);

    takeBack();  // and the human's own stone: red again, played by the human
    EXPECT_EQ(stones(), 0);
    EXPECT_TRUE(rec().HumanIsRed);
    EXPECT_FALSE(rec().BlueToMove);
}

TEST_F(MenuHandlers, TakeBackAfterAFourReopensTheGame) {
    start(false);
    play("1213121");
    ASSERT_EQ(rec().GameState, kGameWon);
    takeBack();
    EXPECT_EQ(rec().GameState, kGameRunning);
    EXPECT_EQ(rec().MoveNr, 7);
    EXPECT_FALSE(rec().BlueToMove);  // the winner's colour, red, is to move again
    EXPECT_TRUE(rec().HumanIsRed);
    EXPECT_EQ(rec().ColHeight[1], 3);
    EXPECT_EQ(caption(Control::lblMessage), "");
    player.columns.push_back(5);
    click(4);  // the game goes on
    EXPECT_EQ(rec().MoveNr, 9);
}

TEST_F(MenuHandlers, TakeBackAfterADrawGivesBlueTheLastMove) {
    start(false);
    play(kDrawnGame);
    ASSERT_EQ(rec().MoveNr, 43);
    takeBack();
    EXPECT_EQ(rec().MoveNr, 42);
    EXPECT_TRUE(rec().BlueToMove);
    EXPECT_EQ(stones(), 41);
    EXPECT_EQ(caption(Control::lblZugfeld), "42. Zug");
}

TEST_F(MenuHandlers, ComputerMoveOnRequestSwapsSidesEachTime) {
    start(false);
    player.columns = {4, 4, 3};
    computerMove();  // the computer plays red, move 1
    EXPECT_FALSE(rec().HumanIsRed);
    EXPECT_EQ(rec().Board(4, 1), kRed);
    EXPECT_EQ(rec().MoveNr, 2);
    EXPECT_EQ(caption(Control::lblZug), "Mensch ist am Zug");
    computerMove();  // and blue, move 2
    EXPECT_TRUE(rec().HumanIsRed);
    EXPECT_EQ(rec().Board(4, 2), kBlue);
    computerMove();
    EXPECT_EQ(rec().MoveNr, 4);
    EXPECT_EQ(rec().Board(3, 1), kRed);
    EXPECT_EQ(toolkit.pointer, MousePointer::Default);
    EXPECT_TRUE(toolkit.timerEnabled);
}

TEST_F(MenuHandlers, ComputerMoveOnRequestFillingTheBoardIsADraw) {
    start(true, kDrawnGame[0] - '0');
    play(kDrawnGame.substr(1, 40));
    ASSERT_EQ(rec().MoveNr, 42);
    player.columns.push_back(kDrawnGame[41] - '0');
    computerMove();
    EXPECT_EQ(rec().MoveNr, 43);
    EXPECT_EQ(caption(Control::lblMessage), "Unentschieden!");
    toolkit.clearLog();
    computerMove();  // the game is over: nothing happens
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(rec().MoveNr, 43);
}

TEST_F(MenuHandlers, ComputerMoveOnRequestAfterAFourDoesNothing) {
    start(false);
    play("1213121");
    toolkit.clearLog();
    computerMove();
    EXPECT_TRUE(toolkit.calls.empty());
    EXPECT_EQ(player.calls, 3);
}

TEST_F(MenuHandlers, ComputerFourOnRequestIsMarked) {
    start(false);
    play("172737");
    player.columns.push_back(4);  // the computer, playing red for the human, completes row 1
    computerMove();
    EXPECT_EQ(rec().GameState, kGameWon);
    EXPECT_EQ(caption(Control::lblMessage), "Ich habe gewonnen !");
    EXPECT_EQ(rec().WinCells[0], 4);
    EXPECT_EQ(rec().WinCells[4], cellIndex(4, 1));
}

// Stale win flags must not reach the opening move's message or the line marking.
TEST_F(MenuHandlers, StaleHumanWinDoesNotAnnounceADefeat) {
    start(false);
    play("1213121");
    menu(1);
    start(false);
    player.columns.push_back(4);
    computerMove();
    EXPECT_EQ(caption(Control::lblMessage), "");
    EXPECT_EQ(toolkit.count("caption lblMessage=Ich verliere !"), 0);
    EXPECT_EQ(rec().MoveNr, 2);
}

TEST_F(MenuHandlers, StaleComputerWinTakenBackDoesNotClaimAWin) {
    start(false);
    play("17271727");
    ASSERT_EQ(rec().GameState, kGameWon);
    for (int i = 0; i < 8; ++i) {
        takeBack();
    }
    ASSERT_EQ(stones(), 0);
    player.columns.push_back(3);
    computerMove();
    EXPECT_EQ(rec().GameState, kGameRunning);
    EXPECT_EQ(toolkit.count("caption lblMessage=Ich habe gewonnen !"), 1);  // only the real win
    EXPECT_EQ(rec().MoveNr, 2);
}

TEST_F(MenuHandlers, InfoEndAndStylesTouchNothingElse) {
    start(false);
    play("43");
    const GameRecord before = rec();
    menu(4);
    EXPECT_EQ(toolkit.infoDialogsShown, 1);
    inbox.post(Event{Handler::optaggressiv_Click});
    EXPECT_FALSE(rec().Defensive);
    inbox.post(Event{Handler::optdefensiv_Click});
    EXPECT_TRUE(rec().Defensive);
    menu(6);  // no such button
    EXPECT_EQ(rec().Board, before.Board);
    EXPECT_EQ(rec().MoveNr, before.MoveNr);
    EXPECT_FALSE(toolkit.closed);
    menu(5);
    EXPECT_TRUE(toolkit.closed);
}

}  // namespace
}  // namespace quorbel
