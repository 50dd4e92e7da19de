// The computer's move through a game on the fake toolkit: the driver's stages, exits, displays and
// messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "ai/candidate_choice.h"
#include "ai/decision_runs.h"
#include "ai/move_driver.h"
#include "ai/move_text.h"
#include "flow/game.h"
#include "support/fake_toolkit.h"
#include "support/load_window.h"

namespace quorbel::testing {
namespace {

// Marks where the search runs and lets 75 seconds pass at every look at the clock.
class MarkingToolkit : public FakeToolkit {
  public:
    void runWhileBusy(const std::function<void()>& work) override {
        calls.emplace_back("busy {");
        FakeToolkit::runWhileBusy(work);
        calls.emplace_back("} busy");
    }
    double now() override {
        clockDays += 75.0 / 86400;
        return clockDays;
    }
};

// Runs the search on a thread of its own, as a window toolkit does.
class ThreadedToolkit : public FakeToolkit {
  public:
    void runWhileBusy(const std::function<void()>& work) override {
        ++busyRuns;
        std::thread(work).join();
    }
};

class MoveDriverTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadWindow(toolkit, game); }

    const MoveReport& Decide(const std::string& moves, int level) {
        game.SetLevel(level);
        EXPECT_EQ(SetUpFromMoves(game.record(), moves), MovesError::None);
        toolkit.clearLog();
        game.MakeCompMove();
        return driver.LastReport();
    }

    std::vector<int> ExaminedColumns() const {
        std::vector<int> columns;
        for (const CandidateReport& c : driver.LastReport().examined) {
            columns.push_back(c.column);
        }
        return columns;
    }

    GameRecord& rec() { return game.record(); }

    MarkingToolkit toolkit;
    MoveDriver driver{PlayerOptions{std::nullopt, 16, 2}};
    Game game{toolkit, driver};
};

TEST_F(MoveDriverTest, OpeningColumnFollowsTheDrawAndTouchesNothingElse) {
    for (const auto& [r, column] :
         {std::pair{0.0, 3}, {0.34, 4}, {0.66, 4}, {0.67, 5}, {0.99, 5}}) {
        SetUpFromMoves(rec(), "-");
        toolkit.scriptedRandom = {r};
        rec().CompWon = rec().HumanWon = true;
        const GameRecord before = rec();
        toolkit.clearLog();
        game.MakeCompMove();
        EXPECT_EQ(rec().CurCol, column) << r;
        EXPECT_TRUE(toolkit.calls.empty());
        EXPECT_EQ(toolkit.pointer, MousePointer::Default);
        EXPECT_TRUE(rec().CompWon && rec().HumanWon);
        EXPECT_EQ(rec().WorkBoard, before.WorkBoard);
        EXPECT_EQ(driver.LastReport().exit, MoveExit::Opening);
    }
}

// The calls between "busy {" and "} busy": the look-ahead's, which may only move the bar.
std::vector<std::string> CallsWhileBusy(const std::vector<std::string>& calls) {
    const auto begin = std::find(calls.begin(), calls.end(), "busy {");
    const auto end = std::find(begin, calls.end(), "} busy");
    return begin == calls.end() || end == calls.end() ? std::vector<std::string>{}
                                                      : std::vector<std::string>(begin + 1, end);
}

TEST_F(MoveDriverTest, ShowsItsThinkingAndSearchesOnlyInsideRunWhileBusy) {
    Decide("4", 2);
    const std::vector<std::string> before = {"caption lblTime=", "repaint lblTime", "pointer 11",
                                             "progress max 7", "busy {"};
    const std::vector<std::string> after = {"} busy", "caption lblTime=01:15", "progress 0"};
    ASSERT_GE(toolkit.calls.size(), before.size() + after.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), toolkit.calls.begin()));
    EXPECT_TRUE(std::equal(after.rbegin(), after.rend(), toolkit.calls.rbegin()));
    const std::vector<std::string> busy = CallsWhileBusy(toolkit.calls);
    ASSERT_FALSE(busy.empty());
    EXPECT_TRUE(std::all_of(busy.begin(), busy.end(), [](const std::string& call) {
        return call.rfind("progress ", 0) == 0;
    }));
    EXPECT_EQ(busy.back(), "progress 7");  // full as the decision is made
    EXPECT_EQ(rec().Level, 2);
    EXPECT_EQ(rec().MovesTried.size(), 2u);
    EXPECT_EQ(rec().ProgressTotal, 7);
    EXPECT_EQ(rec().ProgressDone, 7);
    EXPECT_EQ(toolkit.pointer, MousePointer::Hourglass);  // the caller sets it back
}

TEST_F(MoveDriverTest, ChoiceLeavesTheBoardAsItFoundIt) {
    SetUpFromMoves(rec(), "476334251173");
    const GameRecord before = rec();
    const MoveReport& report = Decide("476334251173", 3);
    EXPECT_EQ(report.exit, MoveExit::Choice);
    EXPECT_EQ(rec().WorkBoard, before.WorkBoard);
    EXPECT_EQ(rec().WorkColHeight, before.WorkColHeight);
    EXPECT_FALSE(rec().CompWon || rec().HumanWon);
    EXPECT_EQ(rec().CurCol, report.column);
    EXPECT_EQ(rec().MovesTried[0], 1);
    EXPECT_EQ(rec().Candidates[1], report.column);
}

TEST_F(MoveDriverTest, LowestImmediateFourIsPlayedBeforeAnyLookAtThreats) {
    // The computer (red) has row 1 at columns 3 to 5; the human threatens column 7 from above,
    // so columns 1 to 5 are dropped before 6 is found to win.
    const MoveReport& report = Decide("32475747", 4);
    EXPECT_EQ(report.exit, MoveExit::ImmediateWin);
    EXPECT_EQ(rec().CurCol, 6);
    EXPECT_TRUE(rec().CompWon);
    EXPECT_EQ(rec().WorkBoard(6, 1), kComputer);  // left for the marking of the line
    EXPECT_EQ(report.filtered, (std::vector<int>{6}));
    EXPECT_EQ(toolkit.busyRuns, 0);
    EXPECT_EQ(toolkit.count("caption lblMessage"), 0);
    EXPECT_EQ(toolkit.count("progress max"), 0);
    EXPECT_EQ(toolkit.calls.back(), "progress 0");
}

TEST_F(MoveDriverTest, TwoImmediateFoursPlayTheLowerColumn) {
    // Red, the computer, holds row 1 at columns 2 to 4: columns 1 and 5 both complete it.
    const MoveReport& report = Decide("273746", 2);
    EXPECT_EQ(report.exit, MoveExit::ImmediateWin);
    EXPECT_EQ(rec().CurCol, 1);
    EXPECT_TRUE(rec().CompWon);
    EXPECT_EQ(report.filtered, (std::vector<int>{1}));
}

TEST_F(MoveDriverTest, OnlyTheBlockingColumnPassesTheFilterAndIsPlayedWithoutLookAhead) {
    const MoveReport& report = Decide("172717", 5);
    EXPECT_EQ(report.filtered, (std::vector<int>{7}));
    EXPECT_EQ(report.exit, MoveExit::Choice);
    EXPECT_EQ(rec().CurCol, 7);
    EXPECT_TRUE(report.examined.empty());
    EXPECT_EQ(toolkit.busyRuns, 0);
    EXPECT_EQ(toolkit.count("progress max"), 0);
    EXPECT_EQ(toolkit.count("caption lblMessage"), 0);
}

// The human threatens row 1 at column 4 and column 7 at row 4.
TEST_F(MoveDriverTest, TwoHumanThreatsDropEveryColumnAndTheHighestIsPlayed) {
    const MoveReport& report = Decide("516217275763", 5);
    EXPECT_EQ(report.exit, MoveExit::Defeat);
    EXPECT_TRUE(report.filtered.empty());
    EXPECT_EQ(rec().CurCol, 7);
    EXPECT_EQ(toolkit.caption(Control::lblMessage), "Ich verliere !");
    EXPECT_EQ(toolkit.busyRuns, 0);
    EXPECT_FALSE(rec().CompWon || rec().HumanWon);
}

TEST_F(MoveDriverTest, FirstForcedWinIsAnnouncedAndPlayedAndEndsTheLookAhead) {
    const MoveReport& report = Decide("5245", 2);
    EXPECT_EQ(report.exit, MoveExit::ForcedWin);
    EXPECT_EQ(rec().CurCol, 6);
    EXPECT_EQ(ExaminedColumns(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(toolkit.caption(Control::lblMessage), "Ich werde gewinnen !!!!");
    EXPECT_EQ(rec().WorkBoard(6, rec().WorkColHeight[6]), kComputer);
    EXPECT_FALSE(rec().CompWon || rec().HumanWon);
    EXPECT_EQ(rec().EnemyLines[7][2], 0);  // the last candidate got no look-ahead
    EXPECT_EQ(toolkit.calls.back(), "progress 0");
}

TEST_F(MoveDriverTest, LevelOneNeverAnnouncesAForcedWin) {
    const MoveReport& report = Decide("5245", 1);
    EXPECT_NE(report.exit, MoveExit::ForcedWin);
    EXPECT_EQ(toolkit.count("caption lblMessage"), 0);
}

TEST_F(MoveDriverTest, AllCandidatesLostPlaysTheHighestOfThem) {
    const MoveReport& report = Decide("477454456773", 3);
    EXPECT_EQ(report.exit, MoveExit::Defeat);
    EXPECT_EQ(report.examined.size(), 7u);
    EXPECT_EQ(rec().CurCol, 7);
    EXPECT_EQ(toolkit.caption(Control::lblMessage), "Ich verliere !");
}

TEST_F(MoveDriverTest, TheOneCandidateNotLostIsPlayedWithoutAMessage) {
    const MoveReport& report = Decide("26572266517", 2);
    EXPECT_EQ(report.filtered, (std::vector<int>{1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(report.remaining, (std::vector<int>{3}));
    EXPECT_EQ(rec().CurCol, 3);
    EXPECT_EQ(toolkit.count("caption lblMessage"), 0);
    // Each candidate's lines are filed under its own column.
    for (const CandidateReport& c : report.examined) {
        EXPECT_EQ(rec().EnemyLines[c.column], c.lines);
    }
}

TEST_F(MoveDriverTest, TiesAreDrawnAfterAReseedTheFirstCandidateBelowOneHalf) {
    // At level 1 after "722" columns 4, 5 and 6 tie: 4 meets 5, the winner meets 6.
    struct Draws {
        double first, second;
        int column;
    };
    for (const Draws& d :
         {Draws{0.2, 0.7, 6}, Draws{0.7, 0.2, 5}, Draws{0.49, 0.49, 4}, Draws{0.5, 0.5, 6}}) {
        toolkit.scriptedRandom = {d.first, d.second};
        toolkit.reseeds = 0;
        Decide("722", 1);
        EXPECT_EQ(rec().CurCol, d.column) << d.first << " " << d.second;
        EXPECT_EQ(toolkit.reseeds, 2);
        EXPECT_TRUE(toolkit.scriptedRandom.empty());
    }
}

TEST_F(MoveDriverTest, ATimeLimitPlaysTheDeepestCompletedLevelExactly) {
    MoveDriver limited(PlayerOptions{0.02, 16, 2});
    Game limitedGame{toolkit, limited};
    LoadWindow(toolkit, limitedGame);
    limitedGame.SetLevel(10);
    SetUpFromMoves(limitedGame.record(), "4");
    toolkit.clearLog();
    limitedGame.MakeCompMove();
    const MoveReport report = limited.LastReport();
    EXPECT_EQ(report.level, 10);
    ASSERT_GE(report.completedLevel, 1);
    ASSERT_LT(report.completedLevel, 10);
    // One bar over all the levels: its maximum is set once, and it is full at the end.
    EXPECT_EQ(toolkit.count("progress max"), 1);
    EXPECT_EQ(CallsWhileBusy(toolkit.calls).back(), "progress 7");

    MoveReport exact = Decide("4", report.completedLevel);
    exact.level = 10;
    ExpectSameDecision(report, exact, "4");
}

TEST(MoveDriverThreads, SearchOffTheCallingThreadDecidesTheSame) {
    ThreadedToolkit threaded;
    MoveDriver driver(PlayerOptions{std::nullopt, 16, 2});
    Game game{threaded, driver};
    LoadWindow(threaded, game);
    game.SetLevel(3);
    SetUpFromMoves(game.record(), "4453");
    game.MakeCompMove();
    EXPECT_EQ(threaded.busyRuns, 1);
    ExpectSameDecision(driver.LastReport(), ReferenceReport("4453", 3), "4453");
}

}  // namespace
}  // namespace quorbel::testing
