#pragma once

// The computer player: chooses the computer's column for the position on the analysis board.

#include "flow/computer_player.h"

namespace quorbel {

class MoveDriver : public ComputerPlayer {
  public:
    MoveDriver();
    ~MoveDriver() override;
    void MakeCompMove(Game& game) override;
};

}  // namespace quorbel
