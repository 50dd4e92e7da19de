// Recording and showing a played stone: the landing cell and its column button flicker in random
// colours and then take the stone's colour; the previous move's button returns to light green.

#include "flow/game.h"
#include "ui/accessible_text.h"

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
    for (rec_.LoopCol = 1; rec_.LoopCol <= 5; ++rec_.LoopCol) {
        toolkit_.setColor(button, Zufall());
        toolkit_.repaintNow(button);
        toolkit_.setColor(cell, Zufall());
        toolkit_.repaintNow(cell);
    }
}

}  // namespace quorbel
