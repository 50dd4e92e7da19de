#include "support/scripted_player.h"

#include <stdexcept>

namespace quorbel::testing {

void ScriptedPlayer::MakeCompMove(GameRecord& rec, int /*level*/, PlayerHost& host) {
    ++calls;
    if (columns.empty()) {
        throw std::logic_error("the scripted player has no column left");
    }
    rec.CurCol = columns.front();
    columns.pop_front();
    if (rec.MoveNr > 1) {
        host.showBusyPointer();
        rec.TryCompMove(rec.CurCol);
        if (!rec.CompWon) {
            rec.TakeStone(rec.CurCol);
        }
        rec.HumanWon = false;
    }
    if (!message.empty()) {
        host.showMessage(message);
    }
}

}  // namespace quorbel::testing
