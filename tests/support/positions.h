#pragma once

// Positions for tests, drawn as text: six rows from the top down, seven cells each;
// '1' or 'x' is code 1 (computer, or red on Board), '2' or 'o' is code 2, '.' is empty.

#include <array>
#include <string_view>

#include "game/record.h"

namespace quorbel::testing {

using Picture = std::array<std::string_view, kRows>;

inline std::int16_t codeOf(char c) {
    return c == '1' || c == 'x' ? 1 : c == '2' || c == 'o' ? 2 : 0;
}

// Draws the picture onto WorkBoard and sets WorkColHeight.
inline void setWorkBoard(GameRecord& rec, const Picture& rows) {
    rec.WorkBoard.clear();
    for (int column = 1; column <= kColumns; ++column) {
        rec.WorkColHeight[column] = 0;
        for (int row = 1; row <= kRows; ++row) {
            const std::int16_t code = codeOf(rows[kRows - row][column - 1]);
            rec.WorkBoard(column, row) = code;
            if (code != 0) {
                rec.WorkColHeight[column] = static_cast<std::int16_t>(row);
            }
        }
    }
}

// Draws the picture onto Board and sets ColHeight.
inline void setBoard(GameRecord& rec, const Picture& rows) {
    GameRecord scratch;
    setWorkBoard(scratch, rows);
    rec.Board = scratch.WorkBoard;
    rec.ColHeight = scratch.WorkColHeight;
}

}  // namespace quorbel::testing
