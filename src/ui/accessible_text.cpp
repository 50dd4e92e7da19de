#include "ui/accessible_text.h"

#include <utility>

#include "flow/game.h"

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

}  // namespace

std::string CellName(const GameRecord& rec, int cell) {
    const int column = columnOfCell(cell);
    const int row = rowOfCell(cell);
    std::string name = "Spalte " + std::to_string(column) + ", Reihe " + std::to_string(row) +
                       ": " + stoneName(rec.Board(column, row));
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
    const std::string& player = red == rec.HumanIsRed ? rec.HumanName : rec.CompName;
    return player + ": " + CellName(rec, cell);
}

// Every cell and column button, from the record: what changed since the last time, the toolkit
// passes on.
void Game::describeBoard() {
    for (int cell = 0; cell < kCells; ++cell) {
        toolkit_.setAccessibleName({Control::Feld, cell}, CellName(rec_, cell));
    }
    for (int column = 1; column <= kColumns; ++column) {
        toolkit_.setAccessibleDescription({Control::cmdFeld, column - 1},
                                          ColumnDescription(rec_, column));
    }
}

void Game::announce(std::string text) {
    announcements_.push_back(std::move(text));
}

void Game::sayAnnouncements() {
    if (announcements_.empty()) {
        return;
    }
    std::string said;
    for (const std::string& text : announcements_) {
        if (!said.empty()) {
            const bool closed = said.back() == '!' || said.back() == '?' || said.back() == '.';
            said += closed ? " " : ". ";
        }
        said += text;
    }
    announcements_.clear();
    toolkit_.announce(said);
}

}  // namespace quorbel
