#pragma once

// A computer player for tests: it plays the columns it is given, in order, and keeps the driver's
// contract (CurCol, CompWon, the winning stone left on WorkBoard).

#include <deque>
#include <string>

#include "ai/computer_player.h"

namespace quorbel::testing {

class ScriptedPlayer : public ComputerPlayer {
  public:
    void MakeCompMove(GameRecord& rec, int level, PlayerHost& host) override;

    std::deque<int> columns;
    std::string message;  // shown through the host when not empty
    int calls = 0;
};

}  // namespace quorbel::testing
