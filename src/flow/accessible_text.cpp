#include "flow/accessible_text.h"

#include <algorithm>

namespace quorbel {

namespace {

bool inWinningLine(const GameRecord& rec, int cell) {
    if (rec.GameState != kGameWon) {
        return false;
    }
    for (int i = 1; i <= rec.WinCells[0]; ++i) {
        if (rec.WinCells[i] == cell) {
            return true;
        }
    }
    return false;
}

const char* stoneName(std::int16_t stone) {
    switch (stone) {
        case kRed:
            return "rot";
        case kBlue:
            return "blau";
        default:
            return "leer";
    }
}

std::string columnName(int column) {
    return "Spalte " + std::to_string(column);
}

std::string place(int column, int row) {
    return columnName(column) + ", Reihe " + std::to_string(row);
}

std::string placeOfCell(int cell) {
    return place(columnOfCell(cell), rowOfCell(cell));
}

// The stones of at most `most` cells from (column, row) on, a step of (dc, dr) at a time, while
// on the board: "rot, leer, blau".
std::string stonesAlong(const GameRecord& rec, int column, int row, int dc, int dr,
                        int most = kRows + kColumns) {
    std::string stones;
    for (int c = column, r = row; most > 0 && c >= 1 && c <= kColumns && r >= 1 && r <= kRows;
         c += dc, r += dr, --most) {
        if (!stones.empty()) {
            stones += ", ";
        }
        stones += stoneName(rec.Board(c, r));
    }
    return stones;
}

// The stones of a column, bottom up: "rot, blau"; empty for an empty column.
std::string columnStones(const GameRecord& rec, int column) {
    return stonesAlong(rec, column, 1, 0, 1, rec.ColHeight[column]);
}

// "rot, Spalte 4, Reihe 1": the stone of move k, which was red when k is odd.
std::string moveText(const GameRecord& rec, int k) {
    return std::string(k % 2 != 0 ? "rot" : "blau") + ", " + placeOfCell(rec.MoveList[k]);
}

}  // namespace

std::string CellName(const GameRecord& rec, int cell) {
    const int column = columnOfCell(cell);
    const int row = rowOfCell(cell);
    std::string name = place(column, row) + ", " + stoneName(rec.Board(column, row));
    if (inWinningLine(rec, cell)) {
        name += ", Gewinnreihe";
    }
    return name;
}

std::string ColumnDescription(const GameRecord& rec, int column) {
    const int free = kRows - rec.ColHeight[column];
    if (free == 0) {
        return "voll";
    }
    return std::to_string(free) + (free == 1 ? " Feld frei" : " Felder frei");
}

std::string StoneAnnouncement(const GameRecord& rec, int cell) {
    const bool red = rec.Board(columnOfCell(cell), rowOfCell(cell)) == kRed;
    return rec.PlayerOf(red) + ", " + placeOfCell(cell);
}

std::string TakeBackAnnouncement(int cell) {
    return "Zurückgenommen, " + placeOfCell(cell);
}

std::string FullColumnAnnouncement(int column) {
    return columnName(column) + " ist voll";
}

std::string SidesText(const GameRecord& rec) {
    return rec.PlayerOf(true) + " spielt rot, " + rec.PlayerOf(false) + " blau";
}

std::string WinningLineText(const GameRecord& rec) {
    const int cells = rec.WinCells[0];
    if (cells < 1) {
        return "";
    }
    return "Gewinnreihe von " + placeOfCell(rec.WinCells[1]) + " bis " +
           placeOfCell(rec.WinCells[cells]);
}

std::string RoomText(const GameRecord& rec, int column) {
    return columnName(column) +
           (rec.ColHeight[column] == kRows ? " voll" : ", " + ColumnDescription(rec, column));
}

std::string BoardText(const GameRecord& rec) {
    std::string text;
    for (int column = 1; column <= kColumns; ++column) {
        const std::string stones = columnStones(rec, column);
        if (column > 1) {
            text += ' ';
        }
        text += columnName(column);
        text += ' ';
        text += stones.empty() ? "leer" : stones;
        text += '.';
    }
    return text;
}

std::string ColumnText(const GameRecord& rec, int column) {
    const std::string stones = columnStones(rec, column);
    return columnName(column) + " " + (stones.empty() ? "" : stones + ", ") +
           ColumnDescription(rec, column) + ".";
}

std::string RowText(const GameRecord& rec, int row) {
    return "Reihe " + std::to_string(row) + " von links " + stonesAlong(rec, 1, row, 1, 0) + ".";
}

std::string DiagonalsText(const GameRecord& rec, int column, int row) {
    const int rising = std::min(column, row) - 1;  // steps down to the rising line's left end
    const int falling = std::min(column - 1, kRows - row);  // steps up to the falling one's
    const int risingColumn = column - rising;
    const int risingRow = row - rising;
    const int fallingColumn = column - falling;
    const int fallingRow = row + falling;
    return "Steigend ab " + place(risingColumn, risingRow) + " " +
           stonesAlong(rec, risingColumn, risingRow, 1, 1) + ". Fallend ab " +
           place(fallingColumn, fallingRow) + " " +
           stonesAlong(rec, fallingColumn, fallingRow, 1, -1) + ".";
}

std::string LastMovesText(const GameRecord& rec) {
    const int stones = StonesOnTheBoard(rec);
    if (stones == 0) {
        return "Noch kein Stein.";
    }
    std::string text = "Zuletzt " + moveText(rec, stones) + ".";
    if (stones > 1) {
        text += " Davor " + moveText(rec, stones - 1) + ".";
    }
    return text;
}

std::string StateText(const GameRecord& rec, int level, bool computerBegins) {
    std::string text;
    if (rec.GameState == kNoGame) {
        text = "Kein Spiel. " + (computerBegins ? rec.CompName : rec.HumanName) + " beginnt.";
    } else {
        if (rec.GameState == kGameWon) {
            text = rec.PlayerOf(!rec.BlueToMove) + " hat gewonnen. " + WinningLineText(rec) + ".";
        } else if (rec.MoveNr == kDrawMoveNr) {
            text = "Unentschieden.";
        } else {
            text = rec.PlayerOf(!rec.BlueToMove) + " ist am Zug, " + std::to_string(rec.MoveNr) +
                   ". Zug.";
        }
        text += " " + SidesText(rec) + ".";
    }
    return text + " Spielstufe " + std::to_string(level) + ".";
}

int StonesOnTheBoard(const GameRecord& rec) {
    int stones = 0;
    for (int column = 1; column <= kColumns; ++column) {
        stones += rec.ColHeight[column];
    }
    return stones;
}

int LandingRow(const GameRecord& rec, int column) {
    return std::min(rec.ColHeight[column] + 1, kRows);
}

}  // namespace quorbel
