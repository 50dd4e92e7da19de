#include "support/scripted_player.h"

#include <stdexcept>

#include "flow/game.h"

namespace quorbel::testing {

void ScriptedPlayer::MakeCompMove(Game& game) {
    ++calls;
    if (columns.empty()) {
        throw std::logic_error("the scripted player has no column left");
    }
    GameRecord& rec = game.record();
    rec.CurCol = columns.front();
    columns.pop_front();
    if (rec.MoveNr > 1) {
        game.toolkit().setMousePointer(MousePointer::Hourglass);
        rec.TryCompMove(rec.CurCol);
        if (!rec.CompWon) {
            rec.TakeStone(rec.CurCol);
        }
        rec.HumanWon = false;
    }
    if (!message.empty()) {
        game.ShowMessage(message);
    }
}

}  // namespace quorbel::testing
