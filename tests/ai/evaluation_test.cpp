// The evaluation of a human stone at the horizon: the reference's scans on hand-made cases, and the
// fast engine's tables against the reference on every stone of random positions.

#include <gtest/gtest.h>

#include <array>

#include "ai/decision_runs.h"
#include "ai/evaluation.h"
#include "ai/move_text.h"
#include "ai/reference_player.h"
#include "support/positions.h"

namespace quorbel::testing {
namespace {

struct Evaluated {
    std::array<std::int64_t, 3> lines;  // of 2, 3 and 4 stones
    bool four;
    bool operator==(const Evaluated&) const = default;
};

void PrintTo(const Evaluated& e, std::ostream* os) {
    *os << "[" << e.lines[0] << "," << e.lines[1] << "," << e.lines[2] << "]"
        << (e.four ? " four" : "");
}

constexpr int kTestCol = 5;

// The reference's AnalyseEnemyCol on rec, which it leaves with the stone on top of col.
Evaluated ByReference(GameRecord& rec, int col) {
    rec.TestCol = kTestCol;
    rec.EnemyLines[kTestCol].clear();
    ReferencePlayer(rec).AnalyseEnemyCol(col);
    const auto& counts = rec.EnemyLines[kTestCol];
    return {{counts[2], counts[3], counts[4]}, rec.HumanWon};
}

Evaluated ByTables(const GameRecord& rec, int col) {
    const Position position = Position::FromWorkBoard(rec);
    const StoneLines& found =
        kStoneLines[static_cast<std::size_t>(ScansOfHumanStoneIn(position, col))];
    return {{found.lines2, found.lines3, found.lines4}, found.four};
}

struct EvaluationCase {
    const char* name;
    Picture before;
    int col;
    Evaluated expected;
    friend void PrintTo(const EvaluationCase& c, std::ostream* os) { *os << c.name; }
};

class EvaluationCases : public ::testing::TestWithParam<EvaluationCase> {};

TEST_P(EvaluationCases, RecordTheLinesTheScansFind) {
    const EvaluationCase& c = GetParam();
    GameRecord rec;
    setWorkBoard(rec, c.before);
    const Evaluated byTables = ByTables(rec, c.col);
    const GameRecord before = rec;

    EXPECT_EQ(ByReference(rec, c.col), c.expected);
    EXPECT_EQ(byTables, c.expected);
    // The reference leaves its stone on the board for the caller to take.
    EXPECT_EQ(rec.WorkColHeight[c.col], before.WorkColHeight[c.col] + 1);
    EXPECT_EQ(rec.WorkBoard(c.col, rec.WorkColHeight[c.col]), kHuman);
    for (int col = 1; col <= kColumns; ++col) {
        if (col != kTestCol) {
            EXPECT_EQ(rec.EnemyLines[col], before.EnemyLines[col]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scans, EvaluationCases,
    ::testing::Values(
        EvaluationCase{"LoneStoneRecordsNothing",
                       {".......", ".......", ".......", ".......", ".......", "......."},
                       4,
                       {{0, 0, 0}, false}},
        // The row would hold three as well, but the vertical four ends the evaluation.
        EvaluationCase{"VerticalFourEndsEverything",
                       {".......", ".......", ".22....", "211....", "211....", "211...."},
                       1,
                       {{0, 0, 1}, true}},
        EvaluationCase{"RunBelowAComputerStone",
                       {".......", ".......", ".......", "1......", "2......", "2......"},
                       1,
                       {{1, 0, 0}, false}},
        EvaluationCase{"ThreeInTheRow",
                       {".......", ".......", ".......", ".......", ".......", "2.2...."},
                       2,
                       {{0, 1, 0}, false}},
        EvaluationCase{"ComputerInColumnFourBlocksTheRow",
                       {".......", ".......", ".......", ".......", ".......", "2..1..."},
                       2,
                       {{0, 0, 0}, false}},
        EvaluationCase{"DiagonalTooShort",
                       {"..2....", ".21....", ".12....", "111....", "121....", "212...."},
                       1,
                       {{0, 0, 0}, false}},
        EvaluationCase{"OnlyTheFirstWindowOfTheRow",
                       {".......", ".......", ".......", ".......", ".......", "22...2."},
                       7,
                       {{1, 0, 0}, false}},
        // A computer stone at the fifth cell of the rising diagonal finishes its scan: the three
        // human stones before it are not recorded. The row and the falling diagonal each add a 2.
        EvaluationCase{"ComputerAtTheFifthCellOfADiagonal",
                       {".......", "....1..", "....2..", "..212..", ".2121..", ".1212.."},
                       4,
                       {{2, 0, 0}, false}},
        EvaluationCase{"FallingFourFromItsUpperEnd",
                       {".......", ".......", ".......", "12.....", "212....", "1212..."},
                       1,
                       {{0, 0, 1}, true}},
        EvaluationCase{"RowFourWithTheGapFilled",
                       {".......", ".......", ".......", ".......", ".......", "22.2..."},
                       3,
                       {{0, 0, 1}, true}}),
    [](const ::testing::TestParamInfo<EvaluationCase>& info) {
        return std::string(info.param.name);
    });

TEST(Evaluation, TablesAgreeWithTheScansOnEveryStoneOfRandomPositions) {
    int fours = 0;
    for (const std::string& moves : RandomPositions(11, 400, 1, 36, false)) {
        GameRecord position;
        ASSERT_EQ(SetUpFromMoves(position, moves), MovesError::None);
        for (int col = 1; col <= kColumns; ++col) {
            if (position.WorkColHeight[col] == kRows) {
                continue;
            }
            GameRecord rec = position;
            const Evaluated expected = ByReference(rec, col);
            ASSERT_EQ(ByTables(position, col), expected) << moves << " column " << col;
            // The evaluation's four is the four test's.
            GameRecord tested = position;
            tested.SetHumanStone(col);
            tested.CheckHumanFour(col);
            ASSERT_EQ(expected.four, tested.HumanWon) << moves << " column " << col;
            fours += expected.four ? 1 : 0;
        }
    }
    EXPECT_GT(fours, 50);
}

// The replies' evaluations one by one, summed whether or not one of them makes four.
PackedLines LinesOfEachReply(const Position& position) {
    PackedLines sum = 0;
    for (int col = 1; col <= kColumns; ++col) {
        if (position.IsOpen(col)) {
            sum += kStoneLines[static_cast<std::size_t>(ScansOfHumanStoneIn(position, col))].packed;
        }
    }
    return sum;
}

TEST(Evaluation, LinesOfAllRepliesAreTheSumOfEachReplysEvaluationAndFollowAnAnswer) {
    int withoutFour = 0;
    for (const std::string& moves : RandomPositions(7, 300, 1, 38, false)) {
        GameRecord rec;
        ASSERT_EQ(SetUpFromMoves(rec, moves), MovesError::None);
        Position position = Position::FromWorkBoard(rec);
        const PackedLines now = LinesOfAllReplies(position);
        // A four ends an evaluation early, so only then may the sum differ.
        if ((position.FourCells(Side::Human) & position.LandingCells()) == 0) {
            EXPECT_EQ(now, LinesOfEachReply(position)) << moves;
            ++withoutFour;
        }
        for (int col = 1; col <= kColumns; ++col) {
            if (position.IsOpen(col)) {
                const PackedLines predicted = LinesOfAllRepliesAfterComputerIn(position, col, now);
                std::array<PackedLines, kColumns + 1> eachReply{};
                for (int reply = 1; reply <= kColumns; ++reply) {
                    eachReply[reply] = LinesOfHumanStoneAfterComputerIn(position, col, reply);
                }
                position.Play(col, Side::Computer);
                EXPECT_EQ(predicted, LinesOfAllReplies(position)) << moves << " column " << col;
                for (int reply = 1; reply <= kColumns; ++reply) {
                    const PackedLines found =
                        position.IsOpen(reply)
                            ? kStoneLines[static_cast<std::size_t>(
                                              ScansOfHumanStoneIn(position, reply))]
                                  .packed
                            : 0;
                    EXPECT_EQ(eachReply[reply], found)
                        << moves << " answer " << col << " reply " << reply;
                }
                position.Take(col, Side::Computer);
            }
        }
    }
    EXPECT_GT(withoutFour, 100);
}

}  // namespace
}  // namespace quorbel::testing
