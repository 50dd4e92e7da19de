// What assistive technology reads of the board and hears as the game goes on.

#include "ui/accessible_text.h"
#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;

class AccessibleText : public GameFixture {
  protected:
    std::string cellName(int column, int row) const {
        return toolkit.accessibleName({Control::Feld, cellIndex(column, row)});
    }
    std::string columnDescription(int column) const {
        return toolkit.accessibleDescription({Control::cmdFeld, column - 1});
    }
};

TEST_F(AccessibleText, CellsAndColumnsAreReadAsTheGameRecordsThem) {
    EXPECT_EQ(cellName(7, 6), "Spalte 7, Reihe 6: leer");  // from start-up on
    start(false);
    play("43");
    EXPECT_EQ(cellName(4, 1), "Spalte 4, Reihe 1: rot");
    EXPECT_EQ(cellName(3, 1), "Spalte 3, Reihe 1: blau");
    EXPECT_EQ(cellName(4, 2), "Spalte 4, Reihe 2: leer");
    EXPECT_EQ(columnDescription(4), "5 Felder frei");
    EXPECT_EQ(columnDescription(1), "6 Felder frei");
    // The human's stone is said before the computer thinks, its answer once the move is done.
    EXPECT_EQ(toolkit.announced, (std::vector<std::string>{"Mensch: Spalte 4, Reihe 1: rot",
                                                           "Computer: Spalte 3, Reihe 1: blau"}));

    play("555555");
    EXPECT_EQ(columnDescription(5), "voll");
    play("3333");
    EXPECT_EQ(columnDescription(3), "1 Feld frei");
    menu(1);  // "Neues Spiel" empties the board
    EXPECT_EQ(cellName(5, 6), "Spalte 5, Reihe 6: leer");
    EXPECT_EQ(columnDescription(5), "6 Felder frei");
}

TEST_F(AccessibleText, TheWinningLineSaysSoUntilItsStoneIsTakenBack) {
    start(false);
    play("1212121");
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(cellName(1, row),
                  "Spalte 1, Reihe " + std::to_string(row) + ": rot, Gewinnreihe");
    }
    EXPECT_EQ(cellName(2, 3), "Spalte 2, Reihe 3: blau");
    EXPECT_EQ(toolkit.announced.back(), "Mensch: Spalte 1, Reihe 4: rot. Du hast gewonnen");

    menu(2);
    EXPECT_EQ(cellName(1, 4), "Spalte 1, Reihe 4: leer");
    EXPECT_EQ(cellName(1, 3), "Spalte 1, Reihe 3: rot");
    EXPECT_EQ(toolkit.announced.back(), "Zug zurück: Spalte 1, Reihe 4: leer");
}

TEST_F(AccessibleText, MessagesEndingInAMarkAreJoinedWithoutAnother) {
    start(false);
    player.message = "Ich verliere !";
    play("12");
    EXPECT_EQ(toolkit.announced.back(), "Ich verliere ! Computer: Spalte 2, Reihe 1: blau");
}

}  // namespace
}  // namespace quorbel
