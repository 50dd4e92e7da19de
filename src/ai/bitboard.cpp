#include "ai/bitboard.h"

namespace quorbel {

Position::Position() {
    for (int line = 0; line < board_geometry::kLines; ++line) {
        code_[static_cast<std::size_t>(line)] =
            static_cast<std::uint16_t>(TableOffset(board_geometry::KindOf(line)));
    }
    for (int col = 1; col <= kColumns; ++col) {
        ChangeDigit(col, 1, kLandingDigit - kEmptyDigit);
    }
}

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
