// Placeholder until the computer player lands: opening rule only, then the lowest open column.
#include "ai/move_driver.h"

#include "flow/game.h"

namespace quorbel {

MoveDriver::MoveDriver() = default;
MoveDriver::~MoveDriver() = default;

void MoveDriver::MakeCompMove(Game& game) {
    GameRecord& rec = game.record();
    if (rec.MoveNr == 1) {
        rec.CurCol = static_cast<int>(3 * game.toolkit().random()) + 3;
        return;
    }
    for (int col = 1; col <= kColumns; ++col) {
        if (rec.WorkColHeight[col] < kRows) {
            rec.CurCol = col;
            rec.TryCompMove(col);
            if (!rec.CompWon) {
                rec.TakeStone(col);
            }
            rec.HumanWon = false;
            return;
        }
    }
}

}  // namespace quorbel
