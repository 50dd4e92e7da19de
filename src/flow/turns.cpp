// A click on a column button: the human's stone, the four test, the end of the game or the turn
// passing to the computer, whose answer is played within the same click.

#include "flow/accessible_text.h"
#include "flow/game.h"
#include "game/win_cells.h"

namespace quorbel {

// A click the game refuses changes nothing; a screen reader still hears why.
void Game::cmdFeld_Click(int Index) {
    if (rec_.IsOver()) {
        announce("Das Spiel ist aus");
        return;
    }
    rec_.CurCol = Index + 1;
    if (rec_.ColHeight[rec_.CurCol] == kRows) {
        announce(FullColumnAnnouncement(rec_.CurCol));
        return;
    }
    toolkit_.setCaption(Control::lblMessage, "");
    toolkit_.setTimerEnabled(false);
    ShowMove();
    rec_.CopyToWorkBoard();
    rec_.CheckHumanFour(rec_.CurCol);
    if (rec_.HumanWon) {
        humanWins();
        return;
    }
    if (rec_.MoveNr == 42) {
        endInDraw();
        return;
    }
    NextMove();
    ShowMoveInfo();
    playComputerMove();
}

void Game::humanWins() {
    rec_.InitFinishColor();
    endWithFour("Du hast gewonnen");
}

// The line through the stone in CurCol is marked and blinks, the first time 10 ms from now; the
// message, then the line, is said.
void Game::endWithFour(std::string_view message) {
    MarkWinCells(rec_, rec_.CurCol);
    describeBoard();
    toolkit_.setTimerInterval(10);
    toolkit_.setTimerEnabled(true);
    ShowMessage(message);
    announce(WinningLineText(rec_));
}

// The 42nd stone made no four: the game is over before the message shows, and the timer's next
// show counts from the message's end.
void Game::endInDraw() {
    NextMove();
    rec_.MoveNr = kDrawMoveNr;
    ShowMessage("Unentschieden!");
    toolkit_.setTimerEnabled(true);
}

// The computer moves and its stone is shown; returns whether the game goes on, with the human to
// move.
bool Game::playComputerMove() {
    MakeCompMove();
    toolkit_.setMousePointer(MousePointer::Default);
    ShowMove();
    if (rec_.CompWon) {
        endWithFour("Ich habe gewonnen !");
        return false;
    }
    if (rec_.MoveNr == 42) {
        endInDraw();
        return false;
    }
    toolkit_.setTimerEnabled(true);
    NextMove();
    ShowMoveInfo();
    return true;
}

void Game::NextMove() {
    ++rec_.MoveNr;
    rec_.BlueToMove = !rec_.BlueToMove;
}

void Game::ShowMoveInfo() {
    toolkit_.setCaption(Control::lblRot, rec_.PlayerOf(true));
    toolkit_.setCaption(Control::lblBlau, rec_.PlayerOf(false));
    toolkit_.setCaption(Control::lblZug, turnText());
    toolkit_.repaintNow(Control::lblZug);
    toolkit_.setCaption(Control::lblZugfeld, std::to_string(rec_.MoveNr) + ". Zug");
}

// "Mensch ist am Zug": whose turn it is, as the window shows it.
std::string Game::turnText() const {
    return rec_.PlayerOf(!rec_.BlueToMove) + " ist am Zug";
}

void Game::ShowMessage(std::string_view text) {
    const PacedShow show(toolkit_, kMessageFlash);
    toolkit_.setCaption(Control::lblMessage, text);
    for (int flash = 1; flash <= 50; ++flash) {
        toolkit_.setColor(Control::lblMessage, Zufall());
        toolkit_.repaintNow(Control::lblMessage);
    }
    toolkit_.setColor(Control::lblMessage, PaletteColor(15));
    announce(std::string(text));
}

Color Game::Zufall() {
    toolkit_.reseedFromTimeOfDay();
    const double x = toolkit_.random();
    return PaletteColor(static_cast<int>(15 * x) + 1);
}

}  // namespace quorbel
