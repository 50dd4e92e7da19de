// The window's inbox: presses given while a handler waits in the event loop (a show, a think) run
// after it, each once, in the order given; a handler never begins inside another.

#include <stdexcept>

#include "support/game_fixture.h"
#include "ui/inbox.h"

namespace quorbel {
namespace {

using testing::GameFixture;

// Thinks as the real computer does, in the toolkit's busy run, then plays the columns given.
class ThinkingPlayer : public testing::ScriptedPlayer {
  public:
    void MakeCompMove(Game& game) override {
        game.toolkit().runWhileBusy([] {});
        ScriptedPlayer::MakeCompMove(game);
    }
};

class InboxTest : public GameFixture {
  protected:
    void column(int c) {
        inbox.post({Control::cmdFeld, c - 1}, [this, c] { game.cmdFeld_Click(c - 1); });
    }
    void menu(int index) {
        inbox.post({Control::cmdMenue, index}, [this, index] { game.cmdMenue_Click(index); });
    }
    Inbox inbox{toolkit};
};

TEST_F(InboxTest, PressesDuringAShowRunAfterItsHandlerInOrderEachOnce) {
    start(false);
    player.columns = {7, 7, 6};
    toolkit.duringShow = [this] {
        column(2);
        menu(2);  // takes back the answer to column 2
        column(3);
    };
    column(1);  // its stone's flicker is the show
    EXPECT_EQ(rec().MoveNr, 3);
    EXPECT_EQ(player.calls, 1);
    EXPECT_FALSE(toolkit.later.empty());

    toolkit.runLater();
    // 1, 7 (answer), 2, 7 (taken back), 3, 6: the human now plays blue, the take-back's colour.
    EXPECT_EQ(player.calls, 3);
    EXPECT_EQ(rec().MoveNr, 6);
    EXPECT_EQ(rec().Board(1, 1), kRed);
    EXPECT_EQ(rec().Board(2, 1), kRed);
    EXPECT_EQ(rec().Board(7, 1), kBlue);
    EXPECT_EQ(rec().Board(7, 2), kEmpty);
    EXPECT_EQ(rec().Board(3, 1), kBlue);
    EXPECT_EQ(rec().Board(6, 1), kRed);
    EXPECT_TRUE(toolkit.later.empty());
}

TEST_F(InboxTest, PressesDuringAThinkWaitForTheComputersStone) {
    ThinkingPlayer thinker;
    Game thinking{toolkit, thinker};
    thinking.Form_Load();
    thinking.cmdMenue_Click(0);
    thinker.columns = {4, 5};
    toolkit.duringThink = [&] {
        inbox.post({Control::cmdFeld, 2}, [&] { thinking.cmdFeld_Click(2); });
        inbox.post({Control::cmdMenue, 2}, [&] { thinking.cmdMenue_Click(2); });
    };
    inbox.post({Control::cmdFeld, 0}, [&] { thinking.cmdFeld_Click(0); });
    EXPECT_EQ(thinking.record().MoveNr, 3);  // the human's stone and the computer's answer
    toolkit.runLater();
    const GameRecord& rec = thinking.record();
    EXPECT_EQ(rec.Board(3, 1), kRed);
    EXPECT_EQ(rec.Board(5, 1), kEmpty);  // the answer to column 3, taken back
    EXPECT_EQ(rec.MoveNr, 4);
}

// A column pressed while "Neues Spiel" waits finds its button hidden at its turn, as a click on
// the screen would; a held press is delivered at its turn, and the command it makes runs then.
TEST_F(InboxTest, HeldInputKeepsItsPlaceAndHiddenControlsTakeNoPress) {
    start(false);
    player.columns = {7};
    std::vector<int> order;
    toolkit.duringShow = [&] {
        inbox.hold([&] {
            order.push_back(1);
            menu(1);  // what the held click makes runs at once
        });
        inbox.post([&] { order.push_back(2); });
        column(5);
    };
    column(1);
    toolkit.runLater();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(rec().GameState, kNoGame);
    EXPECT_EQ(rec().ColHeight[5], 0);
    EXPECT_EQ(player.calls, 1);
}

TEST_F(InboxTest, AHandlerThatFailsLeavesTheInboxWorking) {
    bool ran = false;
    EXPECT_THROW(inbox.post([] { throw std::runtime_error("failed"); }), std::runtime_error);
    inbox.post([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(InboxTest, WaitingPressesAreDroppedWithTheWindow) {
    start(false);
    player.columns = {7};
    toolkit.duringShow = [this] {
        column(2);
        inbox.dropWaiting();  // the close box, during the show
    };
    column(1);
    toolkit.runLater();
    EXPECT_EQ(rec().MoveNr, 3);
}

using InboxDeathTest = InboxTest;

// Only a path around the inbox could begin a handler inside another: debug builds stop there.
TEST_F(InboxDeathTest, AHandlerBegunInsideAnotherStopsADebugBuild) {
    start(false);
    player.columns = {7};
    EXPECT_DEBUG_DEATH(
        {
            toolkit.duringShow = [this] { game.optaggressiv_Click(); };
            game.cmdFeld_Click(0);
        },
        "began inside another");
}

}  // namespace
}  // namespace quorbel
