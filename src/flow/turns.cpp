// A click on a column button: the human's stone, the four test, the end of the game or the turn
// passing to the computer, whose answer is played within the same click.

#include "flow/game.h"
#include "game/win_cells.h"
#include "ui/accessible_text.h"

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
        NextMove();
        ShowMessage("Unentschieden!");
        rec_.MoveNr = kDrawMoveNr;
        toolkit_.setTimerEnabled(true);
        return;
    }
    NextMove();
    ShowMoveInfo();
    answerWithComputerMove();
}

void Game::humanWins() {
    rec_.InitFinishColor();
    endWithFour("Du hast gewonnen");
}

// The line through the stone in CurCol is marked and blinks; the message, then the line, is said.
void Game::endWithFour(std::string_view message) {
    MarkWinCells(rec_, toolkit_, rec_.CurCol);
    describeBoard();
    toolkit_.setTimerEnabled(true);
    ShowMessage(message);
    announce(WinningLineText(rec_));
}

void Game::answerWithComputerMove() {
    MakeCompMove();
    toolkit_.setMousePointer(MousePointer::Default);
    ShowMove();
    if (rec_.CompWon) {
        endWithFour("Ich habe gewonnen !");
        return;
    }
    toolkit_.setTimerEnabled(true);
    if (rec_.MoveNr == 42) {
        ShowMessage("Unentschieden!");
        NextMove();
        rec_.MoveNr = kDrawMoveNr;
    } else {
        NextMove();
        ShowMoveInfo();
    }
}

// What the human's move changed is said before the computer starts thinking, not after.
void Game::MakeCompMove() {
    sayAnnouncements();
    player_.MakeCompMove(*this);
}

void Game::NextMove() {
    ++rec_.MoveNr;
    rec_.BlueToMove = !rec_.BlueToMove;
}

void Game::ShowMoveInfo() {
    const std::string& redName = rec_.HumanIsRed ? rec_.HumanName : rec_.CompName;
    const std::string& blueName = rec_.HumanIsRed ? rec_.CompName : rec_.HumanName;
    toolkit_.setCaption(Control::lblRot, redName);
    toolkit_.setCaption(Control::lblBlau, blueName);
    toolkit_.setCaption(Control::lblZug, rec_.BlueToMove ? blueName : redName);
    toolkit_.setCaption(Control::lblZug, toolkit_.caption(Control::lblZug) + " ist am Zug");
    toolkit_.repaintNow(Control::lblZug);
    toolkit_.setCaption(Control::lblZugfeld, std::to_string(rec_.MoveNr) + ". Zug");
}

void Game::ShowMessage(std::string_view text) {
    const PacedShow show(toolkit_, kMessageFlash);
    toolkit_.setCaption(Control::lblMessage, text);
    for (rec_.LoopCol = 1; rec_.LoopCol <= 50; ++rec_.LoopCol) {
        toolkit_.setColor(Control::lblMessage, Zufall());
        toolkit_.repaintNow(Control::lblMessage);
        for (rec_.LoopRow = 1; rec_.LoopRow <= 100; ++rec_.LoopRow) {
        }
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
