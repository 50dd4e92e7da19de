#pragma once

// A game on the fake toolkit with a scripted computer, driven by digit strings of columns. Its
// events go through the window's inbox, the one way to its handlers.

#include <gtest/gtest.h>

#include <string_view>

#include "flow/game.h"
#include "flow/inbox.h"
#include "support/fake_toolkit.h"
#include "support/scripted_player.h"

namespace quorbel::testing {

class GameFixture : public ::testing::Test {
  protected:
    void SetUp() override { inbox.post(Event{Handler::Form_Load}); }

    // Presses "Start"; the computer's first column comes from the moves given to play().
    void start(bool computerBegins, int firstComputerColumn = 4) {
        if (computerBegins) {
            game.SetComputerBegins(true);
            player.columns.push_back(firstComputerColumn);
        }
        menu(0);
    }

    // Plays the columns (digits 1-7) in order from the current position: the human's moves are
    // clicked and the computer's are scripted, so the human clicks every other digit.
    void play(std::string_view moves) {
        for (std::size_t i = 0; i < moves.size(); i += 2) {
            if (i + 1 < moves.size()) {
                player.columns.push_back(moves[i + 1] - '0');
            }
            click(moves[i] - '0');
        }
    }

    void click(int column) { post(Event{Handler::cmdFeld_Click, column - 1}); }
    void menu(int index) { post(Event{Handler::cmdMenue_Click, index}); }
    // As the window posts a click: its control hidden by its turn takes no click.
    void post(Event click) {
        inbox.post(click,
                   [this, clicked = *ClickedControl(click)] { return toolkit.visible(clicked); });
    }
    void tick() { inbox.post(Event{Handler::Timer1_Timer}); }

    const GameRecord& rec() const { return game.record(); }
    std::string caption(Control c) const { return toolkit.caption(c); }
    Color cellColor(int column, int row) const {
        return toolkit.color({Control::Feld, cellIndex(column, row)});
    }

    FakeToolkit toolkit;
    ScriptedPlayer player;
    Game game{toolkit, player};
    Inbox inbox{toolkit, game};
};

// Fills the board without a four at any time; move 42 is blue's.
constexpr std::string_view kDrawnGame = "141724165222235463442116413773377573556656";

}  // namespace quorbel::testing
