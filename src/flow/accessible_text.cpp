#include "flow/accessible_text.h"

#include <algorithm>
#include <utility>

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

bool onTheBoard(int column, int row) {
    return column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
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
    for (int c = column, r = row; most > 0 && onTheBoard(c, r); c += dc, r += dr, --most) {
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

// Whether the line of four cells from (column, row) on, a step of (dc, dr) at a time, lies on the
// board and holds `colour` in every cell but the empty one at (emptyColumn, emptyRow).
bool fourButOne(const GameRecord& rec, int column, int row, int dc, int dr, std::int16_t colour,
                int emptyColumn, int emptyRow) {
    for (int step = 0; step < 4; ++step, column += dc, row += dr) {
        if (!onTheBoard(column, row)) {
            return false;
        }
        if ((column != emptyColumn || row != emptyRow) && rec.Board(column, row) != colour) {
            return false;
        }
    }
    return true;
}

// Whether a stone of `colour` in the empty cell (column, row) would complete four in a line: in
// any of the four directions, any of the four lines of four that pass through the cell.
bool completesFour(const GameRecord& rec, int column, int row, std::int16_t colour) {
    constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    for (const auto& [dc, dr] : kDirections) {
        for (int back = 0; back < 4; ++back) {  // steps from the line's first cell to this one
            if (fourButOne(rec, column - back * dc, row - back * dr, dc, dr, colour, column, row)) {
                return true;
            }
        }
    }
    return false;
}

// "Spalte 2, Reihe 4, noch nicht spielbar; Spalte 5, Reihe 1, spielbar": the cells where
// `colour` completes a four; empty when there is none.
std::string threatCells(const GameRecord& rec, std::int16_t colour) {
    std::string cells;
    for (int column = 1; column <= kColumns; ++column) {
        for (int row = 1; row <= kRows; ++row) {
            if (rec.Board(column, row) != kEmpty || !completesFour(rec, column, row, colour)) {
                continue;
            }
            if (!cells.empty()) {
                cells += "; ";
            }
            const bool playable = row == rec.ColHeight[column] + 1;
            cells += place(column, row) + (playable ? ", spielbar" : ", noch nicht spielbar");
        }
    }
    return cells;
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

std::string ThreatsText(const GameRecord& rec) {
    std::string text;
    for (const auto& [colour, name] : {std::pair{kRed, "Rot"}, std::pair{kBlue, "Blau"}}) {
        const std::string cells = threatCells(rec, colour);
        if (cells.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += ' ';
        }
        text += std::string(name) + " droht in " + cells + ".";
    }
    return text.empty() ? "Keine Drohung." : text;
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
