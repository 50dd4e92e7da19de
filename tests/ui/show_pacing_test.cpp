// What a display is given of each show: the frames, how long they stay, and the final colours.

#include <algorithm>
#include <map>
#include <ostream>
#include <set>

#include "support/game_fixture.h"

namespace quorbel {
namespace {

using testing::FakeToolkit;
using testing::GameFixture;

struct PacedCase {
    const char* name;
    const char* moves;     // played before the show ("" for none; "-" for no game at all)
    int frames;            // presented frames
    int framesPerElement;  // frames in which each changed control is given a colour
    void (*show)(Game& game, Inbox& inbox);
};

void PrintTo(const PacedCase& c, std::ostream* out) {
    *out << c.name;
}

const PacedCase kCases[] = {
    {"menu-button show", "-", 31, 11, [](Game&, Inbox& i) { i.post({Handler::Timer1_Timer}); }},
    {"column-button show", "25", 43, 7, [](Game&, Inbox& i) { i.post({Handler::Timer1_Timer}); }},
    {"winning-line blink", "112244553", 8, 8,
     [](Game&, Inbox& i) { i.post({Handler::Timer1_Timer}); }},
    {"message flash", "", 13, 13, [](Game& g, Inbox&) { g.ShowMessage("Unentschieden!"); }},
    {"stone flicker", "", 6, 6, [](Game& g, Inbox&) { g.ShowMove(); }},
    {"take-back flash", "34", 6, 6,
     [](Game&, Inbox& i) {
         i.post({Handler::cmdMenue_Click, 2});
     }},
};

class ShowPacing : public GameFixture, public ::testing::WithParamInterface<PacedCase> {};

TEST_P(ShowPacing, EveryFrameStaysAndEveryControlEndsInItsFinalColour) {
    const PacedCase& c = GetParam();
    if (std::string_view(c.moves) != "-") {
        start(false);
        game.record().CurCol = 4;
        play(c.moves);
    }
    const std::size_t before = toolkit.screen.size();
    c.show(game, inbox);

    std::set<double> frameTimes;
    std::map<int, std::vector<Color>> givenTo;  // by control and index
    std::map<int, ControlRef> refs;
    for (std::size_t i = before; i < toolkit.screen.size(); ++i) {
        const FakeToolkit::Presented& p = toolkit.screen[i];
        frameTimes.insert(p.ms);
        const int id = static_cast<int>(p.ref.control) * 100 + p.ref.index;
        givenTo[id].push_back(p.color);
        refs.emplace(id, p.ref);
    }
    ASSERT_EQ(static_cast<int>(frameTimes.size()), c.frames);
    EXPECT_EQ(*frameTimes.rbegin() - *frameTimes.begin(), (c.frames - 1) * kFrameHoldMs);
    for (const auto& [id, colours] : givenTo) {
        const ControlRef ref = refs.at(id);
        EXPECT_EQ(colours.back(), toolkit.color(ref)) << objectName(ref);
        if (colours.size() > 1) {  // the previous move's button is only reset
            EXPECT_EQ(static_cast<int>(colours.size()), c.framesPerElement) << objectName(ref);
        }
    }
    if (rec().GameState == kGameWon) {  // the blink alternates, yellow first
        const std::vector<Color>& cell = givenTo.begin()->second;
        for (std::size_t i = 0; i < cell.size(); ++i) {
            EXPECT_EQ(cell[i] == PaletteColor(14), i % 2 == 0) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shows, ShowPacing, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
});

}  // namespace
}  // namespace quorbel
