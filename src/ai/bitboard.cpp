#include "ai/bitboard.h"

namespace quorbel {

Position Position::FromWorkBoard(const GameRecord& rec) {
    Position position;
    for (int col = 1; col <= kColumns; ++col) {
        for (int row = 1; row <= rec.WorkColHeight[col]; ++row) {
            position.Play(col, static_cast<Side>(rec.WorkBoard(col, row)));
        }
    }
    return position;
}

}  // namespace quorbel
