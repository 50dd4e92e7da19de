#include "ai/decision_runs.h"

#include <random>

#include "ai/move_text.h"
#include "ai/quiet_host.h"
#include "ai/reference_player.h"

namespace quorbel::testing {

MoveReport DriverReport(MoveDriver& driver, const std::string& moves, int level) {
    QuietHost host;
    GameRecord rec;
    rec.Defensive = true;  // as a game starts
    EXPECT_EQ(SetUpFromMoves(rec, moves), MovesError::None) << moves;
    driver.MakeCompMove(rec, level, host);
    return driver.LastReport();
}

MoveReport ReferenceReport(const std::string& moves, int level) {
    GameRecord rec;
    EXPECT_EQ(SetUpFromMoves(rec, moves), MovesError::None) << moves;
    rec.Level = level;
    return ReferencePlayer(rec).Decide();
}

namespace {

bool SomeoneFoursAtOnce(GameRecord rec) {
    for (int col = 1; col <= kColumns; ++col) {
        if (rec.WorkColHeight[col] == kRows) {
            continue;
        }
        rec.TryCompMove(col);
        rec.TakeStone(col);
        rec.SetHumanStone(col);
        rec.CheckHumanFour(col);
        rec.TakeStone(col);
        if (rec.CompWon || rec.HumanWon) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> RandomPositions(std::uint32_t seed, int count, int minStones,
                                         int maxStones, bool quiet) {
    std::mt19937 random(seed);
    std::vector<std::string> positions;
    while (static_cast<int>(positions.size()) < count) {
        const int stones = std::uniform_int_distribution<int>(minStones, maxStones)(random);
        std::string moves;
        GameRecord rec;
        bool usable = true;
        while (usable && static_cast<int>(moves.size()) < stones) {
            std::vector<char> open;
            for (int col = 1; col <= kColumns; ++col) {
                if (rec.WorkColHeight[col] < kRows) {
                    open.push_back(static_cast<char>('0' + col));
                }
            }
            moves += open[std::uniform_int_distribution<std::size_t>(0, open.size() - 1)(random)];
            usable = SetUpFromMoves(rec, moves) == MovesError::None;
        }
        if (usable && (!quiet || !SomeoneFoursAtOnce(rec))) {
            positions.push_back(moves);
        }
    }
    return positions;
}

void ExpectSameDecision(const MoveReport& fast, const MoveReport& reference,
                        const std::string& moves) {
    EXPECT_TRUE(SameDecision(fast, reference))
        << "position " << moves << " at level " << reference.level
        << "\n  fast:      " << ::testing::PrintToString(fast)
        << "\n  reference: " << ::testing::PrintToString(reference);
}

void CompareOnRandomPositions(const DifferentialSample& sample) {
    // A limit of an hour is never reached, but makes the driver deepen level by level.
    const std::optional<double> limit = sample.deepening ? std::optional(3600.0) : std::nullopt;
    MoveDriver driver(PlayerOptions{limit, sample.maxTableBits, 2});
    int lookAheads = 0;
    for (const std::string& moves : RandomPositions(sample.seed, sample.count, sample.minStones,
                                                    sample.maxStones, sample.quiet)) {
        const MoveReport reference = ReferenceReport(moves, sample.level);
        ExpectSameDecision(DriverReport(driver, moves, sample.level), reference, moves);
        if (::testing::Test::HasFailure()) {
            return;  // the first position that differs tells the story
        }
        lookAheads += reference.examined.empty() ? 0 : 1;
    }
    EXPECT_GT(lookAheads, sample.count / 3);
}

}  // namespace quorbel::testing

namespace quorbel {

void PrintTo(const MoveReport& report, std::ostream* os) {
    const auto list = [os](const std::vector<int>& columns) {
        for (const int column : columns) {
            *os << column;
        }
    };
    *os << ExitName(report.exit) << " column " << report.column << ", level "
        << report.completedLevel << " of " << report.level << ", filtered ";
    list(report.filtered);
    *os << ", examined";
    for (const CandidateReport& c : report.examined) {
        *os << " " << c.column << ":" << VerdictName(c.verdict) << "[" << c.lines[2] << ","
            << c.lines[3] << "," << c.lines[4] << "]";
    }
    *os << ", remaining ";
    list(report.remaining);
}

}  // namespace quorbel
