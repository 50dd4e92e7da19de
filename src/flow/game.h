#pragma once

// The logic of the main window: it owns the game-state record and handles the window's events.
// Column clicks and turns, start-up and new games live in flow/; the stone display, the timer
// shows and the menu handlers in ui/. Everything reaches the screen through the Toolkit.

#include <cassert>
#include <string>
#include <string_view>
#include <vector>

#include "flow/computer_player.h"
#include "game/record.h"
#include "ui/toolkit.h"

namespace quorbel {

class Game {
  public:
    Game(Toolkit& toolkit, ComputerPlayer& player) : toolkit_(toolkit), player_(player) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameRecord& record() { return rec_; }
    const GameRecord& record() const { return rec_; }
    Toolkit& toolkit() { return toolkit_; }

    // Events of the window. They run one at a time (the window's inbox sees to it); one begun
    // inside another is a fault of the program, which debug builds stop at.
    void Form_Load();
    void cmdFeld_Click(int Index);
    void cmdMenue_Click(int Index);
    void optaggressiv_Click();
    void optdefensiv_Click();
    void Timer1_Timer();

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

    void humanWins();
    void markWinningLine();
    void describeBoard();
    void announce(std::string text);
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

// One run of an event handler: it may not begin inside another, and once it is done what it
// announced is said.
class Game::HandlerRun {
  public:
    explicit HandlerRun(Game& game) : game_(game) {
        assert(!game_.handlerRunning_ && "a handler of the window began inside another");
        game_.handlerRunning_ = true;
    }
    ~HandlerRun() {
        game_.handlerRunning_ = false;
        game_.sayAnnouncements();
    }
    HandlerRun(const HandlerRun&) = delete;
    HandlerRun& operator=(const HandlerRun&) = delete;

  private:
    Game& game_;
};

}  // namespace quorbel
