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
    for (int index = 0; index <= 5; ++index) {
        const ControlRef button{Control::cmdMenue, index};
        for (int flash = 1; flash <= 250; ++flash) {
            toolkit_.setColor(button, Zufall());
            toolkit_.repaintNow(button);
        }
        toolkit_.setColor(button, kMenuButtonColor);
        toolkit_.repaintNow(button);
    }
}

void Game::columnButtonShow() {
    const PacedShow show(toolkit_, kColumnButtonShow);
    for (int column = 1; column <= kColumns; ++column) {
        const ControlRef button{Control::cmdFeld, column - 1};
        for (int flash = 1; flash <= 150; ++flash) {
            toolkit_.setColor(button, Zufall());
            toolkit_.repaintNow(button);
        }
        toolkit_.setColor(button, columnButtonColor(column));
        toolkit_.repaintNow(button);
    }
}

void Game::winningLineBlink() {
    const PacedShow show(toolkit_, WinningLineBlink(rec_.WinCells[0]));
    const int first = rec_.WinCells[1];
    const Color winner = stoneColor(columnOfCell(first), rowOfCell(first));
    for (int blink = 1; blink <= 20; ++blink) {
        for (const Color shade : {PaletteColor(14), winner}) {
            for (int i = 1; i <= rec_.WinCells[0]; ++i) {
                const ControlRef cell{Control::Feld, rec_.WinCells[i]};
                toolkit_.setColor(cell, shade);
                toolkit_.repaintNow(cell);
            }
        }
    }
}

}  // namespace quorbel
