// Start-up of the window, the start of a game and the return to the idle state.

#include <algorithm>

#include "ai/move_report.h"
#include "flow/accessible_text.h"
#include "flow/game.h"

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
    rec_.HumanIsRed = !settings_.computerBegins;
    toolkit_.setCaption(Control::lblMessage, "");
    ShowMoveInfo();
    for (int column = 1; column <= kColumns; ++column) {
        rec_.ColHeight[column] = 0;
        for (int row = 1; row <= kRows; ++row) {
            toolkit_.setColor({Control::Feld, cellIndex(column, row)}, PaletteColor(15));
            rec_.Board(column, row) = kEmpty;
        }
        toolkit_.setVisible({Control::cmdFeld, column - 1}, false);
        toolkit_.setColor({Control::cmdFeld, column - 1}, PaletteColor(10));
    }
    describeBoard();
}

void Game::NewGame() {
    toolkit_.setTimerEnabled(true);
    rec_.GameState = kNoGame;
    if (settings_.level != 1) {
        announce("Spielstufe wieder 1");
    }
    SetLevel(1);
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
    for (int index = 0; index < kColumns; ++index) {
        toolkit_.setVisible({Control::cmdFeld, index}, true);
    }
    announceTurn();
}

void Game::SetLevel(int level) {
    settings_.level = std::clamp(level, 1, kMaxLevel);
    toolkit_.setCaption(Control::lblStaerke, std::to_string(settings_.level));
}

}  // namespace quorbel
