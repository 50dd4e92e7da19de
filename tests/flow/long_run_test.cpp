// A long run of random user and timer events against the whole program logic with the real
// computer player at low levels, checking the record's invariants after every event.
//
// QUORBEL_LONG_RUN_SEED picks the seed (default fixed), QUORBEL_LONG_RUN_EVENTS the number of
// events. A failure prints the seed and the events since the last "Start".

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ai/move_driver.h"
#include "flow/game.h"
#include "flow/inbox.h"
#include "support/fake_toolkit.h"
#include "support/invariants.h"

namespace quorbel {
namespace {

using testing::CellColorLookup;
using testing::checkInvariants;
using testing::FakeToolkit;

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

class LongRun {
  public:
    explicit LongRun(std::uint64_t seed) : random_(seed) {
        toolkit_.logCalls = false;
        toolkit_.seededRandom.emplace(seed);
        inbox_.post(Event{Handler::Form_Load});
    }

    // Fires one random event that the window could deliver now; returns its description.
    std::string fireRandomEvent() {
        const int pick = draw(100);
        if (pick < 45) {
            return clickColumn();
        }
        if (pick < 60) {
            if (!toolkit_.timerEnabled) {
                return "tick skipped (timer off)";
            }
            inbox_.post(Event{Handler::Timer1_Timer});
            return "timer tick";
        }
        if (pick < 88) {
            return clickMenu(draw(6));
        }
        if (pick < 94) {
            const Control option =
                std::array{Control::optComp, Control::optMen, Control::optaggressiv,
                           Control::optdefensiv}[static_cast<std::size_t>(draw(4))];
            if (option == Control::optComp || option == Control::optMen) {
                inbox_.post(
                    [this, option] { game_.SetComputerBegins(option == Control::optComp); });
            } else if (option == Control::optaggressiv) {
                inbox_.post(Event{Handler::optaggressiv_Click});
            } else if (option == Control::optdefensiv) {
                inbox_.post(Event{Handler::optdefensiv_Click});
            }
            return "option " + objectName(option);
        }
        const int level = 1 + draw(3);
        inbox_.post([this, level] { game_.SetLevel(level); });
        return "level " + std::to_string(level);
    }

    std::string check() const {
        CellColorLookup shown;  // the cells keep their design-time look until the first start
        if (started_) {
            shown = [this](int cell) { return toolkit_.color({Control::Feld, cell}); };
        }
        return checkInvariants(game_.record(), shown);
    }

  private:
    int draw(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string clickColumn() {
        const int index = draw(7);
        if (!toolkit_.visible({Control::cmdFeld, index})) {
            return "hidden column " + std::to_string(index + 1);
        }
        inbox_.post(Event{Handler::cmdFeld_Click, index});
        return "column " + std::to_string(index + 1);
    }

    std::string clickMenu(int index) {
        static const char* const names[] = {"Start",     "Neues Spiel", "Zug zurück",
                                            "Comp- zug", "Info",        "Ende"};
        if (!toolkit_.visible({Control::cmdMenue, index})) {
            return std::string(names[index]) + " hidden";
        }
        started_ = started_ || index == 0;
        inbox_.post(Event{Handler::cmdMenue_Click, index});
        return names[index];
    }

    std::mt19937_64 random_;
    FakeToolkit toolkit_;
    MoveDriver player_;
    Game game_{toolkit_, player_};
    Inbox inbox_{toolkit_, game_};
    bool started_ = false;
};

TEST(LongRun, RandomEventsKeepTheRecordConsistent) {
    const std::uint64_t seed = envNumber("QUORBEL_LONG_RUN_SEED", 20261207);
    const std::uint64_t events = envNumber("QUORBEL_LONG_RUN_EVENTS", 200000);
    LongRun run(seed);
    std::vector<std::string> sinceStart;
    std::map<std::string, int> tally;
    for (std::uint64_t i = 0; i < events; ++i) {
        std::string event = run.fireRandomEvent();
        ++tally[event.substr(0, event.find_first_of("0123456789"))];
        if (event == "Start") {
            sinceStart.clear();
        }
        sinceStart.push_back(std::move(event));
        const std::string fault = run.check();
        if (!fault.empty()) {
            std::ostringstream history;
            for (const auto& e : sinceStart) {
                history << "  " << e << "\n";
            }
            FAIL() << "seed " << seed << ", event " << i << ": " << fault
                   << "\nevents since the last Start:\n"
                   << history.str();
        }
    }
    std::printf("%llu random events with seed %llu:\n", static_cast<unsigned long long>(events),
                static_cast<unsigned long long>(seed));
    for (const auto& [kind, n] : tally) {
        std::printf("  %6d  %s\n", n, kind.c_str());
    }
}

}  // namespace
}  // namespace quorbel
