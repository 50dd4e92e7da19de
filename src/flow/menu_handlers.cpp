// The six menu buttons, the take-back rule and the playing-style options.

#include "flow/accessible_text.h"
#include "flow/game.h"

namespace quorbel {

void Game::cmdMenue_Click(int Index) {
    switch (Index) {
        case 0:
            StartSequence();
            break;
        case 1:
            NewGame();
            break;
        case 2:
            TakeBackMove();
            break;
        case 3:
            CompMoveOnRequest();
            break;
        case 4:
            toolkit_.showInfoDialog();
            break;
        case 5:
            toolkit_.closeWindow();
            break;
        default:
            break;
    }
}

void Game::optaggressiv_Click() {
    rec_.Defensive = false;
}

void Game::optdefensiv_Click() {
    rec_.Defensive = true;
}

// Removes the last stone, whoever played it; its colour is to move again and the human plays it.
void Game::TakeBackMove() {
    if (rec_.GameState == kGameWon) {
        rec_.GameState = kGameRunning;
        NextMove();
    }
    if (rec_.MoveNr == 1) {
        announce("Kein Stein zum Zurücknehmen");
        return;
    }
    toolkit_.setCaption(Control::lblMessage, "");
    --rec_.MoveNr;
    rec_.CurCol = rec_.MoveList[rec_.MoveNr] / kRows + 1;
    rec_.Board(rec_.CurCol, rec_.ColHeight[rec_.CurCol]) = kEmpty;
    --rec_.ColHeight[rec_.CurCol];
    rec_.MoveList[rec_.MoveNr] = 0;
    describeBoard();
    toolkit_.reseedFromTimeOfDay();

    flashEmptiedCell();
    announce(TakeBackAnnouncement(cellIndex(rec_.CurCol, rec_.ColHeight[rec_.CurCol] + 1)));
    const bool humanWasRed = rec_.HumanIsRed;

    rec_.CurCol = rec_.MoveList[rec_.MoveNr - 1] / kRows + 1;
    const ControlRef lastButton{Control::cmdFeld, rec_.CurCol - 1};
    if (!rec_.BlueToMove) {
        rec_.BlueToMove = true;
        toolkit_.setColor(lastButton, static_cast<Color>(rec_.RedColor));
        rec_.HumanIsRed = false;
    } else {
        rec_.BlueToMove = false;
        toolkit_.setColor(lastButton, static_cast<Color>(rec_.BlueColor));
        rec_.HumanIsRed = true;
    }
    if (rec_.MoveNr == 1) {
        toolkit_.setColor({Control::cmdFeld, 0}, PaletteColor(10));
    }
    ShowMoveInfo();
    if (rec_.HumanIsRed != humanWasRed) {
        announce(SidesText(rec_));
    }
    announceTurn();
}

// Five flashes of the column button and the emptied cell, which end light green and white.
void Game::flashEmptiedCell() {
    const PacedShow show(toolkit_, kTakeBackFlash);
    const ControlRef button{Control::cmdFeld, rec_.CurCol - 1};
    const ControlRef cell{Control::Feld, cellIndex(rec_.CurCol, rec_.ColHeight[rec_.CurCol] + 1)};
    flickerButtonAndCell(button, cell);
    toolkit_.setColor(button, PaletteColor(10));
    toolkit_.setColor(cell, PaletteColor(15));
}

// The computer plays the colour to move; the human takes the other one.
void Game::CompMoveOnRequest() {
    if (rec_.IsOver()) {
        announce("Das Spiel ist aus");
        return;
    }
    toolkit_.setCaption(Control::lblMessage, "");
    rec_.HumanIsRed = !rec_.HumanIsRed;
    ShowMoveInfo();
    announce("Seiten getauscht, " + SidesText(rec_));
    rec_.CopyToWorkBoard();
    toolkit_.setTimerEnabled(false);
    // The opening move leaves both flags alone; stale ones from an earlier game or from stones
    // since taken back must not mark a four.
    rec_.CompWon = false;
    rec_.HumanWon = false;
    if (playComputerMove()) {
        announceTurn();
    }
}

}  // namespace quorbel
