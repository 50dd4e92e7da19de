// Messages, the turn display and the random colours.

#include <set>

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::GameFixture;

class Messages : public GameFixture {};

TEST_F(Messages, ShowMessageFlashesFiftyTimesAndEndsWhite) {
    toolkit.clearLog();
    game.ShowMessage("Ich verliere !");
    EXPECT_EQ(caption(Control::lblMessage), "Ich verliere !");
    EXPECT_EQ(toolkit.repaints(Control::lblMessage), 50);
    EXPECT_EQ(toolkit.count("color lblMessage"), 51);
    EXPECT_EQ(toolkit.color(Control::lblMessage), PaletteColor(15));
}

TEST_F(Messages, ZufallReseedsAndCoversTheFifteenColoursButBlack) {
    std::set<Color> seen;
    for (int k = 0; k < 15; ++k) {
        toolkit.scriptedRandom.push_back((k + 0.999) / 15.0);
        toolkit.scriptedRandom.push_back(k / 15.0);
    }
    const int reseedsBefore = toolkit.reseeds;
    for (int i = 0; i < 30; ++i) {
        seen.insert(game.Zufall());
    }
    EXPECT_EQ(toolkit.reseeds - reseedsBefore, 30);
    EXPECT_EQ(seen.size(), 15u);
    EXPECT_EQ(seen.count(PaletteColor(0)), 0u);
    for (int n = 1; n <= 15; ++n) {
        EXPECT_EQ(seen.count(PaletteColor(n)), 1u) << n;
    }
}

TEST_F(Messages, TurnDisplayNamesTheSideToMove) {
    GameRecord& r = game.record();
    struct Case {
        bool humanIsRed, blueToMove;
        const char* zug;
    };
    for (const Case c :
         {Case{true, false, "Mensch ist am Zug"}, Case{true, true, "Computer ist am Zug"},
          Case{false, false, "Computer ist am Zug"}, Case{false, true, "Mensch ist am Zug"}}) {
        r.HumanIsRed = c.humanIsRed;
        r.BlueToMove = c.blueToMove;
        r.MoveNr = 7;
        game.ShowMoveInfo();
        EXPECT_EQ(caption(Control::lblZug), c.zug);
        EXPECT_EQ(caption(Control::lblRot), c.humanIsRed ? "Mensch" : "Computer");
        EXPECT_EQ(caption(Control::lblBlau), c.humanIsRed ? "Computer" : "Mensch");
        EXPECT_EQ(caption(Control::lblZugfeld), "7. Zug");
    }
    EXPECT_GE(toolkit.repaints(Control::lblZug), 4);
}

TEST_F(Messages, AComputerMessageFlashesBeforeTheStone) {
    start(false);
    player.message = "Ich werde gewinnen !!!!";
    play("43");
    EXPECT_EQ(caption(Control::lblMessage), "Ich werde gewinnen !!!!");
    EXPECT_EQ(toolkit.color(Control::lblMessage), PaletteColor(15));
}

}  // namespace
}  // namespace quorbel
