#pragma once

// The logic of the main window: it owns the game-state record and handles the window's events.
// Column clicks and turns, start-up and new games live in flow/; the stone display, the timer
// shows and the menu handlers in ui/. Everything reaches the screen through the Toolkit.

#include <string_view>

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

    // Events of the window.
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
    void humanWins();
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
};

}  // namespace quorbel
