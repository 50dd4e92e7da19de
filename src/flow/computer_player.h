#pragma once

namespace quorbel {

class Game;

// Chooses the computer's column. Called with WorkBoard holding the position (computer stones 1,
// human stones 2), MoveNr the computer's move and at least one column open. Leaves the column in
// CurCol and CompWon true exactly when that column completes four, with the winning stone then
// left on top of that column of WorkBoard. It may show a message through Game::ShowMessage.
class ComputerPlayer {
  public:
    virtual ~ComputerPlayer() = default;
    virtual void MakeCompMove(Game& game) = 0;
    // The window is closing: a decision under way, and any later one, ends as soon as it can with
    // what it has found so far. From any thread.
    virtual void StopThinking() {}
};

}  // namespace quorbel
