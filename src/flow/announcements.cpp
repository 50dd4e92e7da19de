// What the game tells assistive technology: the names of the cells and columns, what is said as
// the game goes on, and what the reading keys answer.

#include "flow/accessible_text.h"
#include "flow/game.h"

namespace quorbel {

std::string Game::Read(Reading reading, int column, int row) const {
    switch (reading) {
        case Reading::Board:
            return BoardText(rec_);
        case Reading::Column:
            return ColumnText(rec_, column);
        case Reading::Row:
            return RowText(rec_, row);
        case Reading::Diagonals:
            return DiagonalsText(rec_, column, row);
        case Reading::LastMoves:
            return LastMovesText(rec_);
        case Reading::State:
            return StateText(rec_, settings_.level, settings_.computerBegins);
        case Reading::Threats:
            return ThreatsText(rec_);
    }
    return {};
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

void Game::announce(std::string_view text) {
    announcements_.emplace_back(text);
}

// The parts are joined into sentences. Each ends in a full stop: speech-dispatcher reads a
// message's "!!!!" or " !" as symbols and drops them, which left no pause before the next part.
void Game::sayAnnouncements() {
    if (announcements_.empty()) {
        return;
    }
    std::string said;
    for (const std::string& text : announcements_) {
        if (!said.empty()) {
            said += said.back() == '.' ? " " : ". ";
        }
        said += text;
    }
    announcements_.clear();
    toolkit_.announce(said);
}

// Whose turn it is, as the window shows it.
void Game::announceTurn() {
    announce(turnText());
}

}  // namespace quorbel
