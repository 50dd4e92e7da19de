#include "ai/position.h"

namespace quorbel {

Position::Position() {
    using namespace board_geometry;
    for (int line = 0; line < kLines; ++line) {
        code_[static_cast<std::size_t>(line)] =
            static_cast<std::uint16_t>(TableOffset(KindOf(line)));
    }
    for (int col = 1; col <= kColumns; ++col) {
        const Cell& landing = At(col, 1);
        for (std::size_t k = 0; k < 4; ++k) {
            code_[landing.lines[k]] = static_cast<std::uint16_t>(
                code_[landing.lines[k]] + (kLandingDigit - kEmptyDigit) * landing.weights[k]);
        }
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
