#include "ai/move_text.h"

namespace quorbel {

MovesError SetUpFromMoves(GameRecord& rec, std::string_view moves) {
    if (moves == "-") {
        moves = {};
    }
    rec.Board.clear();
    rec.WorkBoard.clear();
    rec.ColHeight.clear();
    rec.WorkColHeight.clear();
    rec.MoveList.clear();
    rec.MoveList[0] = 1;
    rec.MoveNr = 1;
    rec.BlueToMove = false;
    // The computer moves next, so the human made the last move: red after an odd number of moves.
    rec.HumanIsRed = moves.size() % 2 == 1;
    for (const char digit : moves) {
        if (rec.MoveNr > kCells) {
            return MovesError::BoardFull;
        }
        const int col = digit - '0';
        if (col < 1 || col > kColumns) {
            return MovesError::NotAColumn;
        }
        if (rec.ColHeight[col] == kRows) {
            return MovesError::FullColumn;
        }
        rec.MoveList[rec.MoveNr] =
            static_cast<std::int16_t>(cellIndex(col, rec.ColHeight[col] + 1));
        ++rec.ColHeight[col];
        rec.Board(col, rec.ColHeight[col]) = rec.BlueToMove ? kBlue : kRed;
        const bool humanMoves = rec.BlueToMove != rec.HumanIsRed;
        if (humanMoves) {
            rec.SetHumanStone(col);
            rec.CheckHumanFour(col);
        } else {
            rec.TryCompMove(col);
        }
        if (rec.CompWon || rec.HumanWon) {
            rec.CompWon = rec.HumanWon = false;
            return MovesError::FourOnBoard;
        }
        ++rec.MoveNr;
        rec.BlueToMove = !rec.BlueToMove;
    }
    return rec.MoveNr > kCells ? MovesError::BoardFull : MovesError::None;
}

std::string_view ErrorText(MovesError error) {
    switch (error) {
        case MovesError::None:
            return "";
        case MovesError::NotAColumn:
            return "illegal move: not a column 1-7";
        case MovesError::FullColumn:
            return "illegal move: column full";
        case MovesError::FourOnBoard:
            return "four already on the board";
        case MovesError::BoardFull:
            return "board full";
    }
    return "";
}

}  // namespace quorbel
