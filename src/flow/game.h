#pragma once

// The game: it owns the game-state record and the settings, and handles the window's events:
// column clicks and turns (turns.cpp), start-up and new games (startup.cpp), the menu buttons and
// the take-back rule (menu_handlers.cpp), recording and showing a stone (stone_display.cpp), the
// timer's shows (timer_shows.cpp), the computer's move (computer_move.cpp) and what assistive
// technology is told (announcements.cpp). Everything reaches the screen through the Toolkit; the
// window shows the settings and passes their changes on.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ai/computer_player.h"
#include "flow/toolkit.h"
#include "game/record.h"

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

// What the player chooses beside the board; the playing style is the record's Defensive.
struct Settings {
    int level = 1;                // "Computerstärke", 1 to 10
    bool computerBegins = false;  // "Wer beginnt ?"
};

class Game {
  public:
    Game(Toolkit& toolkit, ComputerPlayer& player) : toolkit_(toolkit), player_(player) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameRecord& record() { return rec_; }
    const GameRecord& record() const { return rec_; }
    const Settings& settings() const { return settings_; }

    // The settings as the player changes them in the window, in the inbox's order. The level is
    // kept within 1 to 10 and shown.
    void SetLevel(int level);
    void SetComputerBegins(bool computerBegins) { settings_.computerBegins = computerBegins; }

    // What a reading key answers (accessible_text.h), for the cell at column, row: the board, the
    // cell's column, its row, the diagonals through it, the last stones, the state, the threats.
    // It reads the record as it stands and changes nothing, so it may be asked at any time, also
    // while a handler waits in the event loop.
    enum class Reading { Board, Column, Row, Diagonals, LastMoves, State, Threats };
    std::string Read(Reading reading, int column, int row) const;

    // The game's procedures that its handlers share; public for the tests and the show benchmark.
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
    class ThinkDisplay;
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
    void endInDraw();
    bool playComputerMove();
    void describeBoard();
    void announce(std::string_view text);
    void announceTurn();
    std::string turnText() const;
    void sayAnnouncements();
    void TakeBackMove();
    void CompMoveOnRequest();
    void flashEmptiedCell();
    void flickerButtonAndCell(ControlRef button, ControlRef cell);
    Color stoneColor(int column, int row) const;
    Color columnButtonColor(int column) const;
    void menuButtonShow();
    void columnButtonShow();
    void winningLineBlink();

    Toolkit& toolkit_;
    ComputerPlayer& player_;
    GameRecord rec_;
    Settings settings_;
    bool handlerRunning_ = false;
    // What assistive technology says once the handler is done or the computer starts thinking:
    // one text, so that no part cuts another short.
    std::vector<std::string> announcements_;
};

}  // namespace quorbel
