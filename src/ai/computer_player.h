#pragma once

// The computer player as the game sees it: handed the position, the level and a host, it decides
// the computer's column. It knows nothing of the game or the window; what it shows of its think
// and the services it draws on come from the host.

#include <functional>
#include <string_view>

#include "game/record.h"

namespace quorbel {

// What the computer player needs from whoever asks it to move: where its think is shown (the
// busy pointer, the progress bar, the thinking time, its messages), a way to run the search while
// the window goes on, and the game's random generator and clock.
class PlayerHost {
  public:
    virtual ~PlayerHost() = default;

    // The thinking time of the last move is wiped before a new think; then the pointer is busy.
    virtual void clearThinkTime() = 0;
    virtual void showBusyPointer() = 0;
    // The progress bar; setProgressValue may be called from any thread.
    virtual void setProgressMax(double maximum) = 0;
    virtual void setProgressValue(double value) = 0;
    // The think took this long, in days.
    virtual void showThinkTime(double days) = 0;
    // "Ich werde gewinnen !!!!", "Ich verliere !": shown and said as the game's messages are.
    virtual void showMessage(std::string_view text) = 0;

    // Runs the search to its end; inside it only setProgressValue may be called.
    virtual void runWhileBusy(const std::function<void()>& work) = 0;

    // The game's one generator in [0, 1), reseeded from the time of day; the date and time in days.
    virtual double random() = 0;
    virtual void reseedFromTimeOfDay() = 0;
    virtual double now() = 0;
};

// Chooses the computer's column. Called with WorkBoard holding the position (computer stones 1,
// human stones 2), MoveNr the computer's move and at least one column open. Leaves the column in
// CurCol and CompWon true exactly when that column completes four, with the winning stone then
// left on top of that column of WorkBoard.
class ComputerPlayer {
  public:
    virtual ~ComputerPlayer() = default;
    virtual void MakeCompMove(GameRecord& rec, int level, PlayerHost& host) = 0;
    // The window is closing: a decision under way, and any later one, ends as soon as it can with
    // what it has found so far. From any thread.
    virtual void StopThinking() {}
};

}  // namespace quorbel
