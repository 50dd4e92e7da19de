#pragma once

// The logic of the main window: it owns the game-state record and handles the window's events.
// Column clicks and turns, start-up and new games live in flow/; the stone display, the timer
// shows and the menu handlers in ui/. Everything reaches the screen through the Toolkit.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flow/computer_player.h"
#include "game/record.h"
#include "ui/toolkit.h"

namespace quorbel {

class Inbox;

// The handlers of the window's events, as the window's handler table lists them.
enum class Handler {
    Form_Load,
    cmdFeld_Click,
    cmdMenue_Click,
    optaggressiv_Click,
    optdefensiv_Click,
    Timer1_Timer,
};

// One event of the window for the game to handle: its load, a click on a control, a tick of
// Timer1. Clicks on the control arrays carry the button's index.
struct Event {
    Handler handler;
    int index = -1;
    bool operator==(const Event&) const = default;
};

// The control an event is a click on, if it is one: cmdFeld_Click(2) is a click on cmdFeld_2.
std::optional<ControlRef> ClickedControl(const Event& event);
// The handler's name with its index, for reports: "cmdFeld_Click(2)", "Timer1_Timer".
std::string HandlerName(const Event& event);

class Game {
  public:
    Game(Toolkit& toolkit, ComputerPlayer& player) : toolkit_(toolkit), player_(player) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameRecord& record() { return rec_; }
    const GameRecord& record() const { return rec_; }
    Toolkit& toolkit() { return toolkit_; }

    // What a reading key answers (accessible_text.h), for the cell at column, row: the board, the
    // cell's column, its row, the diagonals through it, the last stones, the state. It reads the
    // record as it stands and changes nothing, so it may be asked at any time, also while a
    // handler waits in the event loop.
    enum class Reading { Board, Column, Row, Diagonals, LastMoves, State };
    std::string Read(Reading reading, int column, int row) const;

    // Operations shared by the handlers and the computer player.
    void ShowMove();
    void NextMove();
    void ShowMoveInfo();
    void ShowMessage(std::string_view text);
    Color Zufall();
    void StartGame();
    void NewGame();
    void StartSequence();
    void MakeCompMove();

  private:
    class HandlerRun;
    // The window's events reach their handlers only through the inbox (inbox.h), one at a time.
    friend class Inbox;
    void Handle(const Event& event);

    void Form_Load();
    void cmdFeld_Click(int Index);
    void cmdMenue_Click(int Index);
    void optaggressiv_Click();
    void optdefensiv_Click();
    void Timer1_Timer();

    void humanWins();
    void endWithFour(std::string_view message);
    void describeBoard();
    void announce(std::string_view text);
    void announceTurn();
    int shownLevel() const;
    void sayAnnouncements();
    void answerWithComputerMove();
    void TakeBackMove();
    void CompMoveOnRequest();
    void flashEmptiedCell();
    void flickerButtonAndCell(ControlRef button, ControlRef cell);
    void menuButtonShow();
    void columnButtonShow();
    void winningLineBlink();

    Toolkit& toolkit_;
    ComputerPlayer& player_;
    GameRecord rec_;
    bool handlerRunning_ = false;
    // What assistive technology says once the handler is done or the computer starts thinking:
    // one text, so that no part cuts another short.
    std::vector<std::string> announcements_;
};

}  // namespace quorbel
