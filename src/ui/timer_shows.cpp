// The timer's shows between moves: menu buttons before a game, column buttons during one, and the
// blinking winning line after a four. The interval for the next tick is set once a show has ended,
// so that it counts from the moment the show's last frame is on the screen.

#include "flow/game.h"

namespace quorbel {

void Game::Timer1_Timer() {
    switch (rec_.GameState) {
        case kNoGame:
            menuButtonShow();
            toolkit_.setTimerInterval(3000);
            break;
        case kGameRunning:
            columnButtonShow();
            toolkit_.setTimerInterval(3000);
            break;
        case kGameWon:
            winningLineBlink();
            toolkit_.setTimerInterval(300);
            break;
        default:
            break;
    }
}

void Game::menuButtonShow() {
    const PacedShow show(toolkit_, kMenuButtonShow);
    for (rec_.LoopCol = 0; rec_.LoopCol <= 5; ++rec_.LoopCol) {
        const ControlRef button{Control::cmdMenue, rec_.LoopCol};
        for (rec_.LoopRow = 1; rec_.LoopRow <= 250; ++rec_.LoopRow) {
            toolkit_.setColor(button, Zufall());
            toolkit_.repaintNow(button);
        }
        toolkit_.setColor(button, kMenuButtonColor);
        toolkit_.repaintNow(button);
    }
}

void Game::columnButtonShow() {
    const PacedShow show(toolkit_, kColumnButtonShow);
    for (rec_.LoopCol = 0; rec_.LoopCol <= 6; ++rec_.LoopCol) {
        const ControlRef button{Control::cmdFeld, rec_.LoopCol};
        const Color before = toolkit_.color(button);
        for (rec_.LoopRow = 1; rec_.LoopRow <= 150; ++rec_.LoopRow) {
            toolkit_.setColor(button, Zufall());
            toolkit_.repaintNow(button);
        }
        toolkit_.setColor(button, before);
        toolkit_.repaintNow(button);
    }
}

void Game::winningLineBlink() {
    const PacedShow show(toolkit_, WinningLineBlink(rec_.WinCells[0]));
    const Color winner = toolkit_.color({Control::Feld, rec_.WinCells[1]});
    for (rec_.LoopRow = 1; rec_.LoopRow <= 20; ++rec_.LoopRow) {
        for (const Color shade : {PaletteColor(14), winner}) {
            for (rec_.LoopCol = 1; rec_.LoopCol <= rec_.WinCells[0]; ++rec_.LoopCol) {
                const ControlRef cell{Control::Feld, rec_.WinCells[rec_.LoopCol]};
                toolkit_.setColor(cell, shade);
                toolkit_.repaintNow(cell);
            }
        }
    }
}

}  // namespace quorbel
