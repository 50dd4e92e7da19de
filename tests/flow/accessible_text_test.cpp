// What assistive technology reads of the board, hears as the game goes on, and what the reading
// keys answer.

#include "flow/accessible_text.h"
#include "support/game_fixture.h"
#include "support/positions.h"

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
    std::string said() const { return toolkit.announced.empty() ? "" : toolkit.announced.back(); }
};

TEST_F(AccessibleText, CellsAndColumnsAreReadAsTheGameRecordsThem) {
    EXPECT_EQ(cellName(7, 6), "Spalte 7, Reihe 6, leer");  // from start-up on
    start(false);
    play("43");
    EXPECT_EQ(cellName(4, 1), "Spalte 4, Reihe 1, rot");
    EXPECT_EQ(cellName(3, 1), "Spalte 3, Reihe 1, blau");
    EXPECT_EQ(cellName(4, 2), "Spalte 4, Reihe 2, leer");
    EXPECT_EQ(columnDescription(4), "5 Felder frei");
    EXPECT_EQ(columnDescription(1), "6 Felder frei");
    // The human's stone is said before the computer thinks, its answer once the move is done.
    EXPECT_EQ(toolkit.announced, (std::vector<std::string>{
                                     "Mensch spielt rot, Computer blau. Mensch ist am Zug",
                                     "Mensch, Spalte 4, Reihe 1", "Computer, Spalte 3, Reihe 1"}));

    play("555555");
    EXPECT_EQ(columnDescription(5), "voll");
    click(5);
    EXPECT_EQ(said(), "Spalte 5 ist voll");
    play("3333");
    EXPECT_EQ(columnDescription(3), "1 Feld frei");
    menu(1);  // "Neues Spiel" empties the board
    EXPECT_EQ(cellName(5, 6), "Spalte 5, Reihe 6, leer");
    EXPECT_EQ(columnDescription(5), "6 Felder frei");
}

TEST_F(AccessibleText, TheEndOfAGameAndTheTakeBacksAreSaid) {
    start(false);
    play("1212121");
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(cellName(1, row),
                  "Spalte 1, Reihe " + std::to_string(row) + ", rot, Gewinnreihe");
    }
    EXPECT_EQ(cellName(2, 3), "Spalte 2, Reihe 3, blau");
    EXPECT_EQ(said(),
              "Mensch, Spalte 1, Reihe 4. Du hast gewonnen. Gewinnreihe von Spalte 1, Reihe 1 "
              "bis Spalte 1, Reihe 4");
    click(3);
    EXPECT_EQ(said(), "Das Spiel ist aus");
    menu(3);
    EXPECT_EQ(said(), "Das Spiel ist aus");

    menu(2);  // the winning stone: red is to move again, and the human keeps red
    EXPECT_EQ(cellName(1, 4), "Spalte 1, Reihe 4, leer");
    EXPECT_EQ(cellName(1, 3), "Spalte 1, Reihe 3, rot");
    EXPECT_EQ(said(), "Zurückgenommen, Spalte 1, Reihe 4. Mensch ist am Zug");
    menu(2);  // the computer's blue stone: the human now plays blue
    EXPECT_EQ(said(),
              "Zurückgenommen, Spalte 2, Reihe 3. Computer spielt rot, Mensch blau. Mensch ist "
              "am Zug");

    player.columns = {6};
    menu(3);  // "Comp- zug": the computer plays blue, and the sides are swapped first
    EXPECT_EQ(toolkit.announced.end()[-2], "Seiten getauscht, Mensch spielt rot, Computer blau");
    EXPECT_EQ(said(), "Computer, Spalte 6, Reihe 1. Mensch ist am Zug");

    game.SetLevel(3);
    menu(1);
    EXPECT_EQ(said(), "Spielstufe wieder 1");
    const std::size_t before = toolkit.announced.size();
    menu(0);
    menu(1);  // the level was 1 already: nothing more to say than the start's
    EXPECT_EQ(toolkit.announced.size(), before + 1);
}

TEST_F(AccessibleText, AMessageIsASentenceOfItsOwn) {
    start(false);
    menu(2);
    EXPECT_EQ(said(), "Kein Stein zum Zurücknehmen");
    player.message = "Ich verliere !";
    play("12");
    EXPECT_EQ(said(), "Ich verliere !. Computer, Spalte 2, Reihe 1");
}

TEST_F(AccessibleText, ReadingKeysTellTheBoardAndTheState) {
    using Reading = Game::Reading;
    EXPECT_EQ(game.Read(Reading::State, 4, 1), "Kein Spiel. Mensch beginnt. Spielstufe 1.");
    start(false);
    EXPECT_EQ(game.Read(Reading::Board, 4, 1),
              "Spalte 1 leer. Spalte 2 leer. Spalte 3 leer. Spalte 4 leer. Spalte 5 leer. "
              "Spalte 6 leer. Spalte 7 leer.");
    EXPECT_EQ(game.Read(Reading::LastMoves, 4, 1), "Noch kein Stein.");

    play("443526");
    game.SetLevel(3);
    EXPECT_EQ(game.Read(Reading::Board, 4, 2),
              "Spalte 1 leer. Spalte 2 rot. Spalte 3 rot. Spalte 4 rot, blau. Spalte 5 blau. "
              "Spalte 6 blau. Spalte 7 leer.");
    EXPECT_EQ(game.Read(Reading::Column, 4, 2), "Spalte 4 rot, blau, 4 Felder frei.");
    EXPECT_EQ(game.Read(Reading::Column, 7, 1), "Spalte 7 6 Felder frei.");
    EXPECT_EQ(game.Read(Reading::Row, 4, 1),
              "Reihe 1 von links leer, rot, rot, rot, blau, blau, leer.");
    EXPECT_EQ(game.Read(Reading::Diagonals, 4, 2),
              "Steigend ab Spalte 3, Reihe 1 rot, blau, leer, leer, leer. Fallend ab Spalte 1, "
              "Reihe 5 leer, leer, leer, blau, blau.");
    EXPECT_EQ(game.Read(Reading::Diagonals, 1, 6),
              "Steigend ab Spalte 1, Reihe 6 leer. Fallend ab Spalte 1, Reihe 6 leer, leer, "
              "leer, leer, leer, blau.");
    EXPECT_EQ(game.Read(Reading::LastMoves, 4, 2),
              "Zuletzt blau, Spalte 6, Reihe 1. Davor rot, Spalte 2, Reihe 1.");
    EXPECT_EQ(game.Read(Reading::State, 4, 2),
              "Mensch ist am Zug, 7. Zug. Mensch spielt rot, Computer blau. Spielstufe 3.");
    EXPECT_EQ(game.Read(Reading::Threats, 4, 2), "Rot droht in Spalte 1, Reihe 1, spielbar.");

    play("1");  // red's row of four
    EXPECT_EQ(game.Read(Reading::State, 4, 2),
              "Mensch hat gewonnen. Gewinnreihe von Spalte 1, Reihe 1 bis Spalte 4, Reihe 1. "
              "Mensch spielt rot, Computer blau. Spielstufe 3.");
}

TEST_F(AccessibleText, ADrawIsReadAsOne) {
    start(false);
    play(testing::kDrawnGame);
    EXPECT_EQ(game.Read(Game::Reading::State, 1, 1),
              "Unentschieden. Mensch spielt rot, Computer blau. Spielstufe 1.");
}

// Positions drawn with 'x' red and 'o' blue, the top row first.
std::string threatsIn(const testing::Picture& picture) {
    GameRecord rec;
    testing::setBoard(rec, picture);
    return ThreatsText(rec);
}

TEST(ThreatsText, NoneWhenNoThreeHasRoomForAFourth) {
    EXPECT_EQ(ThreatsText(GameRecord{}), "Keine Drohung.");
    // Blue's three capped by red's, red's three at the top edge, red's row closed at both ends.
    EXPECT_EQ(threatsIn({"x......", "x......", "x......", "o......", "o......", "oxxxo.."}),
              "Keine Drohung.");
}

TEST(ThreatsText, TellsWhetherTheCellIsPlayableNow) {
    EXPECT_EQ(threatsIn({".......", ".......", ".......", "......x", "o..o..x", "xx.x..x"}),
              "Rot droht in Spalte 3, Reihe 1, spielbar; Spalte 7, Reihe 4, spielbar.");
    EXPECT_EQ(threatsIn({".......", ".......", ".......", "..o....", ".oxx...", "oxxo..."}),
              "Blau droht in Spalte 4, Reihe 4, noch nicht spielbar.");
}

// Row 1, a falling diagonal for each colour, and (5, 1) completing both red's row and blue's
// diagonal.
TEST(ThreatsText, ListsRedsCellsThenBluesInColumnThenRowOrder) {
    EXPECT_EQ(threatsIn({".......", ".......", ".o.....", ".xo....", ".oxo...", ".xxx..."}),
              "Rot droht in Spalte 1, Reihe 1, spielbar; Spalte 1, Reihe 4, noch nicht "
              "spielbar; Spalte 5, Reihe 1, spielbar. Blau droht in Spalte 1, Reihe 5, noch "
              "nicht spielbar; Spalte 5, Reihe 1, spielbar.");
}

}  // namespace
}  // namespace quorbel
