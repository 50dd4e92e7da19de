// The deep engine (levels 6 to 8) against reports worked out by a separate, plainly written
// implementation of the computer player: every field of every report must agree, with one thread,
// with more threads than cores, and with a table so small that entries replace each other all the
// time. Each line of the file is a position with its expected report as quorbel-analyse writes it,
// less the time and plus the choice as exact fractions.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "headless_run.h"
#include "json_text.h"

namespace quorbel::testing {
namespace {

// A report as field name and value text: "verdicts.3" for column 3 of verdicts, lists as
// "[1,2,3]", strings without their quotes.
using Fields = std::map<std::string, std::string>;

char Front(std::string_view text) {
    return text.empty() ? '\0' : text.front();
}

// Takes the value at the front of text. The golden lines hold objects of strings without escapes,
// numbers and lists of numbers, with no spaces.
void TakeValue(std::string_view& text, const std::string& name, Fields& into) {
    const auto unreadable = [&name] { return std::runtime_error("unreadable golden " + name); };
    if (Front(text) == '{') {
        text.remove_prefix(1);
        while (Front(text) != '}') {
            const std::size_t keyEnd = text.find("\":");
            if (Front(text) != '"' || keyEnd == std::string_view::npos) {
                throw unreadable();
            }
            const std::string key(text.substr(1, keyEnd - 1));
            text.remove_prefix(keyEnd + 2);
            TakeValue(text, name.empty() ? key : name + "." + key, into);
            if (Front(text) == ',') {
                text.remove_prefix(1);
            }
        }
        text.remove_prefix(1);
        return;
    }
    const bool quoted = Front(text) == '"';
    const std::size_t end = quoted               ? text.find('"', 1) + 1
                            : Front(text) == '[' ? text.find(']') + 1
                                                 : text.find_first_of(",}");
    if (end == 0 || end == std::string_view::npos) {
        throw unreadable();
    }
    into[name] = std::string(quoted ? text.substr(1, end - 2) : text.substr(0, end));
    text.remove_prefix(end);
}

// The choice halves a chance at every tie, so each chance is p / 2^k; the first k that makes it
// whole gives the fraction in lowest terms, as the golden file writes them.
std::string ExactFraction(double chance) {
    long long q = 1;
    while (std::floor(chance * static_cast<double>(q)) != chance * static_cast<double>(q) &&
           q < (1LL << 52)) {
        q *= 2;
    }
    return std::to_string(static_cast<long long>(chance * static_cast<double>(q))) + "/" +
           std::to_string(q);
}

Fields ReadFields(const std::string& line) {
    std::string_view text = line;
    Fields fields;
    TakeValue(text, "", fields);
    return fields;
}

Fields EngineFields(const tools::Decision& decision) {
    const MoveReport& report = decision.report;
    Fields fields{{"exit", std::string(ExitName(report.exit))},
                  {"filtered", tools::JsonList(report.filtered)}};
    for (const CandidateReport& c : report.examined) {
        const std::string column = std::to_string(c.column);
        fields["verdicts." + column] = VerdictName(c.verdict);
        fields["enemy_lines." + column] =
            tools::JsonList(std::array{c.lines[2], c.lines[3], c.lines[4]});
    }
    for (const auto& [column, chance] : tools::PlayOdds(decision)) {
        fields["choice_exact." + std::to_string(column)] = ExactFraction(chance);
    }
    return fields;
}

void ExpectSameFields(const Fields& expected, const Fields& engine, const std::string& where) {
    for (const auto& [name, golden] : expected) {
        const auto found = engine.find(name);
        const std::string fast = found == engine.end() ? "(missing)" : found->second;
        EXPECT_EQ(fast, golden) << where << ", field " << name;
    }
    for (const auto& [name, fast] : engine) {
        EXPECT_TRUE(expected.contains(name))
            << where << ", field " << name << " is " << fast << " but not expected";
    }
}

constexpr int kGoldenPositions = 49;

struct GoldenRun {
    const char* name;
    int threads;
    int tableBits;
    friend void PrintTo(const GoldenRun& run, std::ostream* os) { *os << run.name; }
};

class EngineGolden : public ::testing::TestWithParam<GoldenRun> {};

TEST_P(EngineGolden, ReportsAgreeFieldByField) {
    MoveDriver driver(PlayerOptions{std::nullopt, GetParam().tableBits, GetParam().threads});
    std::ifstream file(QUORBEL_ENGINE_GOLDEN);
    ASSERT_TRUE(file) << QUORBEL_ENGINE_GOLDEN;
    int positions = 0;
    for (std::string line; std::getline(file, line); ++positions) {
        Fields expected = ReadFields(line);
        const std::string moves = expected["moves"];
        const std::string level = expected["level"];
        // Not compared: the inputs, and choice, which repeats choice_exact in decimals.
        std::erase_if(expected, [](const auto& field) {
            return field.first == "moves" || field.first == "level" ||
                   field.first.starts_with("choice.");
        });
        tools::Decision decision;
        ASSERT_EQ(tools::Decide(driver, moves, std::stoi(level), decision), MovesError::None)
            << moves;
        ExpectSameFields(expected, EngineFields(decision),
                         "position " + moves + " at level " + level);
    }
    EXPECT_EQ(positions, kGoldenPositions) << QUORBEL_ENGINE_GOLDEN;
}

INSTANTIATE_TEST_SUITE_P(Runs, EngineGolden,
                         ::testing::Values(GoldenRun{"OneThread", 1, 25},
                                           GoldenRun{"FourThreads", 4, 25},
                                           // A 256th of the entries level 8 uses.
                                           GoldenRun{"SmallTable", 2, 17}),
                         [](const ::testing::TestParamInfo<GoldenRun>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quorbel::testing
