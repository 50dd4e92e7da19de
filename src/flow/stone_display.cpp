// Recording and showing a played stone: the landing cell and its column button flicker in random
// colours and then take the stone's colour; the previous move's button returns to light green.

#include "flow/accessible_text.h"
#include "flow/game.h"

namespace quorbel {

void Game::ShowMove() {
    const PacedShow show(toolkit_, kStoneFlicker);
    const int column = rec_.CurCol;
    toolkit_.setColor({Control::cmdFeld, rec_.MoveList[rec_.MoveNr - 1] / kRows}, PaletteColor(10));
    const int landing = cellIndex(column, rec_.ColHeight[column] + 1);
    rec_.MoveList[rec_.MoveNr] = static_cast<std::int16_t>(landing);

    const ControlRef button{Control::cmdFeld, column - 1};
    const ControlRef cell{Control::Feld, landing};
    flickerButtonAndCell(button, cell);
    const Color stone =
        rec_.BlueToMove ? static_cast<Color>(rec_.BlueColor) : static_cast<Color>(rec_.RedColor);
    toolkit_.setColor(button, stone);
    toolkit_.setColor(cell, stone);
    toolkit_.repaintNow(button);
    toolkit_.repaintNow(cell);

    ++rec_.ColHeight[column];
    rec_.Board(column, rec_.ColHeight[column]) = rec_.BlueToMove ? kBlue : kRed;
    describeBoard();
    announce(StoneAnnouncement(rec_, landing));
}

// Five quick flashes of a column button and a cell in random colours.
void Game::flickerButtonAndCell(ControlRef button, ControlRef cell) {
    for (int flash = 1; flash <= 5; ++flash) {
        toolkit_.setColor(button, Zufall());
        toolkit_.repaintNow(button);
        toolkit_.setColor(cell, Zufall());
        toolkit_.repaintNow(cell);
    }
}

// The colour of the stone in a cell; white when it is empty.
Color Game::stoneColor(int column, int row) const {
    switch (rec_.Board(column, row)) {
        case kRed:
            return static_cast<Color>(rec_.RedColor);
        case kBlue:
            return static_cast<Color>(rec_.BlueColor);
        default:
            return PaletteColor(15);
    }
}

// What a column button shows between shows: the colour of the last stone on its button, light
// green on every other one.
Color Game::columnButtonColor(int column) const {
    if (rec_.MoveNr > 1) {
        const int lastCell = rec_.MoveList[rec_.MoveNr - 1];
        if (columnOfCell(lastCell) == column) {
            return stoneColor(column, rowOfCell(lastCell));
        }
    }
    return PaletteColor(10);
}

}  // namespace quorbel
