// The three timer shows, chosen by the game state at the tick.

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;

class TimerShows : public GameFixture {
  protected:
    std::vector<std::string> repaintOrder() const {
        std::vector<std::string> order;
        for (const auto& call : toolkit.calls) {
            if (call.rfind("repaint ", 0) != 0) {
                continue;
            }
            const std::string name = call.substr(8);
            if (order.empty() || order.back() != name) {
                order.push_back(name);
            }
        }
        return order;
    }
};

TEST_F(TimerShows, IdleTickFlashesTheMenuButtonsInTurnAndEndsCyan) {
    toolkit.clearLog();
    tick();
    EXPECT_EQ(repaintOrder(), (std::vector<std::string>{"cmdMenü_0", "cmdMenü_1", "cmdMenü_2",
                                                        "cmdMenü_3", "cmdMenü_4", "cmdMenü_5"}));
    EXPECT_EQ(toolkit.count("repaint"), 1506);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(toolkit.repaints({Control::cmdMenue, i}), 251);
        EXPECT_EQ(toolkit.color({Control::cmdMenue, i}), rgb(0, 255, 255));
    }
    EXPECT_EQ(toolkit.timerInterval, 3000);
    EXPECT_EQ(toolkit.count("interval"), 1);
}

TEST_F(TimerShows, GameTickFlashesTheColumnButtonsAndRestoresEachColour) {
    start(false);
    play("2536");  // button 6 shows the computer's blue
    toolkit.clearLog();
    tick();
    EXPECT_EQ(repaintOrder(),
              (std::vector<std::string>{"cmdFeld_0", "cmdFeld_1", "cmdFeld_2", "cmdFeld_3",
                                        "cmdFeld_4", "cmdFeld_5", "cmdFeld_6"}));
    EXPECT_EQ(toolkit.count("repaint"), 1057);
    EXPECT_EQ(toolkit.color({Control::cmdFeld, 5}), rgb(0, 0, 255));
    EXPECT_EQ(toolkit.color({Control::cmdFeld, 0}), PaletteColor(10));
    EXPECT_EQ(toolkit.timerInterval, 3000);
}

// The show gives every button back the colour the game's moves left on it: after moves, stones
// taken back (also down to the empty board), the sides swapped and a four taken back.
TEST_F(TimerShows, TheColumnButtonsEndAsTheMovesLeftThem) {
    const auto showKeepsTheButtons = [this](const char* after) {
        std::vector<Color> before;
        for (int index = 0; index < kColumns; ++index) {
            before.push_back(toolkit.color({Control::cmdFeld, index}));
        }
        tick();
        for (int index = 0; index < kColumns; ++index) {
            EXPECT_EQ(toolkit.color({Control::cmdFeld, index}), before[index])
                << "button " << index + 1 << " after " << after;
        }
    };
    start(false);
    play("4435");
    showKeepsTheButtons("moves");
    menu(2);
    showKeepsTheButtons("a take-back of the computer's stone");
    menu(2);
    menu(2);
    showKeepsTheButtons("two more take-backs");
    menu(2);
    showKeepsTheButtons("the last take-back");
    player.columns = {2};
    menu(3);
    showKeepsTheButtons("Comp- zug");
    play("3131313");  // the human's four in column 3
    ASSERT_EQ(rec().GameState, kGameWon);
    menu(2);
    showKeepsTheButtons("the four taken back");
}

TEST_F(TimerShows, WinningLineBlinksAndEndsInTheWinnersColour) {
    start(false);
    play("112244553");  // a human line of five in row 1
    ASSERT_EQ(rec().WinCells[0], 5);
    EXPECT_EQ(toolkit.timerInterval, 10);
    const int stillCellRepaints = toolkit.repaints({Control::Feld, 1});
    toolkit.clearLog();
    tick();
    EXPECT_EQ(toolkit.count("repaint Feld_"), 20 * 2 * 5);
    EXPECT_EQ(toolkit.count("color Feld_0=" + std::to_string(PaletteColor(14))), 20);
    for (int column = 1; column <= 5; ++column) {
        EXPECT_EQ(cellColor(column, 1), rgb(255, 0, 0));
    }
    EXPECT_EQ(toolkit.repaints({Control::Feld, 1}), stillCellRepaints);  // the stone above stays
    EXPECT_EQ(toolkit.timerInterval, 300);
}

TEST_F(TimerShows, TheIntervalsFollowTheStateFromLoadOn) {
    EXPECT_EQ(toolkit.timerInterval, 1000);  // the first tick comes a second after start-up
    tick();
    EXPECT_EQ(toolkit.timerInterval, 3000);
    start(false);
    play("1213121");
    tick();
    EXPECT_EQ(toolkit.timerInterval, 300);
    menu(1);  // "Neues Spiel": the next tick, within 300 ms, is the menu show
    toolkit.clearLog();
    tick();
    EXPECT_EQ(toolkit.count("repaint cmdMenü_0"), 251);
    EXPECT_EQ(toolkit.timerInterval, 3000);
}

TEST_F(TimerShows, AnUnknownStateDoesNothing) {
    game.record().GameState = 0;
    toolkit.clearLog();
    tick();
    EXPECT_TRUE(toolkit.calls.empty());
}

}  // namespace
}  // namespace quorbel
