// The window's inbox: presses given while a handler waits in the event loop (a show, a think) run
// after it, each once, in the order given; a handler never begins inside another.

#include <deque>
#include <sstream>
#include <stdexcept>

#include "flow/inbox.h"
#include "support/game_fixture.h"
#include "support/load_window.h"

namespace quorbel {
namespace {

using testing::GameFixture;

// Thinks as the real computer does, in the toolkit's busy run, then plays the columns given.
class ThinkingPlayer : public testing::ScriptedPlayer {
  public:
    void MakeCompMove(GameRecord& rec, int level, PlayerHost& host) override {
        host.runWhileBusy([] {});
        ScriptedPlayer::MakeCompMove(rec, level, host);
    }
};

using InboxTest = GameFixture;

// A started game on the fixture's toolkit whose computer thinks before it plays the columns given.
struct ThinkingGame {
    ThinkingGame(testing::FakeToolkit& fake, std::deque<int> columns) : toolkit(fake) {
        inbox.post(Event{Handler::Form_Load});
        inbox.post(Event{Handler::cmdMenue_Click, 0});
        thinker.columns = std::move(columns);
    }
    testing::FakeToolkit& toolkit;
    ThinkingPlayer thinker;
    Game game{toolkit, thinker};
    Inbox inbox{toolkit, game};
};

TEST_F(InboxTest, PressesDuringAShowRunAfterItsHandlerInOrderEachOnce) {
    start(false);
    player.columns = {7, 7, 6};
    toolkit.duringShow = [this] {
        click(2);
        menu(2);  // takes back the answer to column 2
        click(3);
    };
    click(1);  // its stone's flicker is the show
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
    ThinkingGame t{toolkit, {4, 5}};
    Game& thinking = t.game;
    Inbox& thinkingInbox = t.inbox;
    toolkit.duringThink = [&] {
        thinkingInbox.post(Event{Handler::cmdFeld_Click, 2});
        thinkingInbox.post(Event{Handler::cmdMenue_Click, 2});
    };
    thinkingInbox.post(Event{Handler::cmdFeld_Click, 0});
    EXPECT_EQ(thinking.record().MoveNr, 3);  // the human's stone and the computer's answer
    toolkit.runLater();
    const GameRecord& rec = thinking.record();
    EXPECT_EQ(rec.Board(3, 1), kRed);
    EXPECT_EQ(rec.Board(5, 1), kEmpty);  // the answer to column 3, taken back
    EXPECT_EQ(rec.MoveNr, 4);
}

// A column pressed while "Neues Spiel" waits finds its button hidden at its turn, as a click on
// the screen would; held input is delivered at its turn, and the event it makes is handled then.
TEST_F(InboxTest, HeldInputKeepsItsPlaceAndHiddenControlsTakeNoPress) {
    start(false);
    player.columns = {7};
    std::vector<int> order;
    toolkit.duringShow = [&] {
        inbox.deliver(
            [&] {
                order.push_back(1);
                menu(1);  // what the held click makes is handled at once
            },
            Inbox::Aim::Control);
        inbox.post([&] { order.push_back(2); });
        click(5);
    };
    click(1);
    toolkit.runLater();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(rec().GameState, kNoGame);
    EXPECT_EQ(rec().ColHeight[5], 0);
    EXPECT_EQ(player.calls, 1);
}

// Keys typed while the winning move was made were aimed at the game: at their turn they would go
// to "Neues Spiel", which has the focus once the game is over. Clicks keep their controls.
TEST_F(InboxTest, KeysTypedBeforeTheGameEndedAreDroppedWhenItEnds) {
    start(false);
    play("121314");
    int keys = 0;
    int clicks = 0;
    int readings = 0;
    toolkit.duringShow = [&] {
        inbox.deliver([&] { ++keys; }, Inbox::Aim::Focus);
        inbox.deliver([&] { ++clicks; }, Inbox::Aim::Control);
        inbox.deliver([&] { ++readings; }, Inbox::Aim::Reading);
    };
    click(1);  // four in column 1
    toolkit.runLater();
    EXPECT_EQ(rec().GameState, kGameWon);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(readings, 1);  // a reading changes nothing: it is answered

    toolkit.duringShow = [&] { inbox.deliver([&] { ++keys; }, Inbox::Aim::Focus); };
    tick();  // the game stays over: keys typed during the blink are the player's next ones
    toolkit.runLater();
    EXPECT_EQ(keys, 1);
}

// Readings typed during the stone's flicker are answered once the computer thinks (as the window
// asks), when the stone and the turn are recorded; one typed behind a click waits for the click.
TEST_F(InboxTest, ReadingsWaitForWhatCameBeforeThemAndForTheThink) {
    ThinkingGame t{toolkit, {4, 5}};
    Game& thinking = t.game;
    Inbox& thinkingInbox = t.inbox;
    std::vector<int> movesRead;
    const auto reading = [&] {
        thinkingInbox.deliver([&] { movesRead.push_back(thinking.record().MoveNr); },
                              Inbox::Aim::Reading);
    };
    toolkit.duringShow = [&] {
        reading();
        reading();
        thinkingInbox.post(Event{Handler::cmdFeld_Click, 2});
        reading();
    };
    toolkit.duringThink = [&] {
        thinkingInbox.deliverWaitingReadings();
        EXPECT_EQ(movesRead, (std::vector<int>{2, 2}));  // the computer's turn, move 2
    };
    thinkingInbox.post(Event{Handler::cmdFeld_Click, 0});
    toolkit.runLater();
    EXPECT_EQ(movesRead, (std::vector<int>{2, 2, 5}));  // the last after column 3 and its answer
}

TEST_F(InboxTest, AFailingHandlerIsReportedByNameAndTheWindowGoesOn) {
    std::ostringstream errors;
    inbox.reportFailuresTo(errors);
    start(false);
    click(4);  // the scripted computer has no column to answer with
    EXPECT_EQ(errors.str(),
              "quorbel: cmdFeld_Click(3) failed: the scripted player has no column left\n");
    EXPECT_TRUE(toolkit.timerEnabled);  // switched off for the move, on again

    inbox.post([] { throw std::runtime_error("no room"); });
    menu(1);
    EXPECT_EQ(rec().GameState, kNoGame);
    EXPECT_NE(errors.str().find("a command of the window failed: no room"), std::string::npos);
}

TEST_F(InboxTest, WaitingPressesAreDroppedWithTheWindow) {
    start(false);
    player.columns = {7};
    toolkit.duringShow = [this] {
        click(2);
        inbox.dropWaiting();  // the close box, during the show
    };
    click(1);
    toolkit.runLater();
    EXPECT_EQ(rec().MoveNr, 3);
}

using InboxDeathTest = InboxTest;

// Only a second inbox could begin a handler inside another: debug builds stop there.
TEST_F(InboxDeathTest, AHandlerBegunInsideAnotherStopsADebugBuild) {
    start(false);
    player.columns = {7};
    Inbox second{toolkit, game};
    EXPECT_DEBUG_DEATH(
        {
            toolkit.duringShow = [&] { second.post(Event{Handler::optaggressiv_Click}); };
            click(1);
        },
        "began inside another");
}

}  // namespace
}  // namespace quorbel
