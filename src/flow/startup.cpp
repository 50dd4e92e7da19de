// Start-up of the window, the start of a game and the return to the idle state.

#include "flow/game.h"
#include "ui/accessible_text.h"
#include "ui/runtime.h"

namespace quorbel {

void Game::Form_Load() {
    rec_ = GameRecord{};
    rec_.Defensive = true;
    rec_.GameState = kNoGame;
    rec_.CompName = "Computer";
    rec_.HumanName = "Mensch";
    toolkit_.setCaption(Control::optMenMen, rec_.HumanName);
    toolkit_.setCaption(Control::optMen, rec_.HumanName);
    rec_.BlueColor = static_cast<std::int32_t>(rgb(0, 0, 255));
    rec_.RedColor = static_cast<std::int16_t>(PaletteColor(12));
    rec_.MoveList[0] = 1;
    toolkit_.setTimerInterval(1000);
    describeBoard();
}

void Game::StartGame() {
    rec_.MoveNr = 1;
    rec_.BlueToMove = false;
    rec_.HumanIsRed = !toolkit_.isSelected(Control::optComp);
    toolkit_.setCaption(Control::lblMessage, "");
    ShowMoveInfo();
    for (rec_.LoopCol = 0; rec_.LoopCol <= 6; ++rec_.LoopCol) {
        const int column = rec_.LoopCol + 1;
        rec_.ColHeight[column] = 0;
        for (rec_.LoopRow = 1; rec_.LoopRow <= kRows; ++rec_.LoopRow) {
            toolkit_.setColor({Control::Feld, rec_.LoopCol * 6 + rec_.LoopRow - 1},
                              PaletteColor(15));
            rec_.Board(column, rec_.LoopRow) = kEmpty;
        }
        toolkit_.setVisible({Control::cmdFeld, rec_.LoopCol}, false);
        toolkit_.setColor({Control::cmdFeld, rec_.LoopCol}, PaletteColor(10));
    }
    describeBoard();
}

void Game::NewGame() {
    toolkit_.setTimerEnabled(true);
    rec_.GameState = kNoGame;
    if (shownLevel() != 1) {
        announce("Spielstufe wieder 1");
    }
    toolkit_.setCaption(Control::lblStaerke, "1");
    StartGame();
    toolkit_.setVisible({Control::cmdMenue, 0}, true);
    for (int index = 1; index <= 3; ++index) {
        toolkit_.setVisible({Control::cmdMenue, index}, false);
    }
    for (Control label :
         {Control::lblRot, Control::lblBlau, Control::lblZug, Control::lblZugfeld}) {
        toolkit_.setCaption(label, "");
    }
    rec_.CompWon = false;
}

void Game::StartSequence() {
    rec_.GameState = kGameRunning;
    StartGame();
    toolkit_.setVisible({Control::cmdMenue, 0}, false);
    for (int index = 1; index <= 3; ++index) {
        toolkit_.setVisible({Control::cmdMenue, index}, true);
    }
    announce(SidesText(rec_));
    if (!rec_.HumanIsRed) {
        toolkit_.setTimerEnabled(false);
        rec_.CopyToWorkBoard();
        MakeCompMove();
        toolkit_.setMousePointer(MousePointer::Default);
        toolkit_.setTimerEnabled(true);
        ShowMove();
        NextMove();
        ShowMoveInfo();
    }
    for (rec_.LoopCol = 0; rec_.LoopCol <= 6; ++rec_.LoopCol) {
        toolkit_.setVisible({Control::cmdFeld, rec_.LoopCol}, true);
    }
    announceTurn();
}

// Whose turn it is, as the window shows it.
void Game::announceTurn() {
    announce(toolkit_.caption(Control::lblZug));
}

// The level as the level control shows it.
int Game::shownLevel() const {
    return static_cast<int>(NumberFromText(toolkit_.caption(Control::lblStaerke)));
}

}  // namespace quorbel
