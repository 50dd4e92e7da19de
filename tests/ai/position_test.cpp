// The look-ahead's position against the record it is built from.

#include <gtest/gtest.h>

#include <map>

#include "ai/decision_runs.h"
#include "ai/evaluation.h"
#include "ai/move_text.h"
#include "ai/position.h"

namespace quorbel::testing {
namespace {

TEST(Position, FourCellsAreWhereTheRecordsFourTestsFindFours) {
    int fours = 0;
    for (const std::string& moves : RandomPositions(3, 300, 1, 38, false)) {
        GameRecord rec;
        ASSERT_EQ(SetUpFromMoves(rec, moves), MovesError::None);
        const Position position = Position::FromWorkBoard(rec);
        for (int col = 1; col <= kColumns; ++col) {
            if (!position.IsOpen(col)) {
                continue;
            }
            GameRecord tried = rec;
            tried.TryCompMove(col);
            EXPECT_EQ((position.FourCells(Side::Computer) & position.LandingBit(col)) != 0,
                      tried.CompWon)
                << moves << " column " << col;
            tried = rec;
            tried.SetHumanStone(col);
            tried.CheckHumanFour(col);
            EXPECT_EQ((position.FourCells(Side::Human) & position.LandingBit(col)) != 0,
                      tried.HumanWon)
                << moves << " column " << col;
            fours += tried.HumanWon ? 1 : 0;
        }
    }
    EXPECT_GT(fours, 20);
}

// What the look-ahead reads of a position: its key and the evaluation of every column.
std::vector<std::uint64_t> Readings(const Position& position) {
    std::vector<std::uint64_t> readings{position.Key()};
    for (int col = 1; col <= kColumns; ++col) {
        readings.push_back(position.IsOpen(col)
                               ? static_cast<std::uint64_t>(ScansOfHumanStoneIn(position, col))
                               : 999);
    }
    return readings;
}

TEST(Position, PlayAndTakeKeepKeyAndLinesAsBuildingFromTheBoardDoes) {
    std::map<std::uint64_t, std::string> boards;  // key -> WorkBoard, to catch two sharing a key
    for (const std::string& moves : RandomPositions(5, 300, 1, 30, false)) {
        GameRecord rec;
        ASSERT_EQ(SetUpFromMoves(rec, moves), MovesError::None);
        Position position = Position::FromWorkBoard(rec);
        const std::vector<std::uint64_t> before = Readings(position);
        for (int col = 1; col <= kColumns; ++col) {
            if (!position.IsOpen(col)) {
                continue;
            }
            const Side side = col % 2 == 0 ? Side::Computer : Side::Human;
            position.Play(col, side);
            if (side == Side::Computer) {
                rec.SetCompStone(col);
                EXPECT_EQ(position.Key(), Position::FromWorkBoard(rec).Key());
                rec.TakeStone(col);
            } else {
                rec.SetHumanStone(col);
                EXPECT_EQ(Readings(position), Readings(Position::FromWorkBoard(rec)));
                rec.TakeStone(col);
            }
            position.Take(col, side);
            EXPECT_EQ(Readings(position), before) << moves << " column " << col;
        }
        std::string board;
        for (int cell = 0; cell < kCells; ++cell) {
            board += static_cast<char>('0' + rec.WorkBoard(columnOfCell(cell), rowOfCell(cell)));
        }
        const auto [it, added] = boards.emplace(position.Key(), board);
        EXPECT_TRUE(added || it->second == board) << moves;
    }
}

TEST(Position, KeysAfterStonesAreTheKeysOfThePositionsWithThem) {
    for (const std::string& moves : RandomPositions(9, 100, 1, 30, false)) {
        GameRecord rec;
        ASSERT_EQ(SetUpFromMoves(rec, moves), MovesError::None);
        Position position = Position::FromWorkBoard(rec);
        for (int col = 1; col <= kColumns; ++col) {
            if (!position.IsOpen(col)) {
                continue;
            }
            const std::uint64_t afterComputer = position.KeyAfterComputerIn(col);
            const std::uint64_t afterHuman = position.KeyAfterHumanIn(col);
            std::vector<std::uint64_t> afterBoth;
            for (int answer = 1; answer <= kColumns; ++answer) {
                afterBoth.push_back(position.KeyAfterHumanAndComputerIn(col, answer));
            }
            position.Play(col, Side::Computer);
            EXPECT_EQ(position.Key(), afterComputer);
            position.Take(col, Side::Computer);
            position.Play(col, Side::Human);
            EXPECT_EQ(position.Key(), afterHuman);
            for (int answer = 1; answer <= kColumns; ++answer) {
                if (position.IsOpen(answer)) {
                    position.Play(answer, Side::Computer);
                    EXPECT_EQ(position.Key(), afterBoth[static_cast<std::size_t>(answer - 1)])
                        << moves << " " << col << answer;
                    position.Take(answer, Side::Computer);
                }
            }
            position.Take(col, Side::Human);
        }
    }
}

}  // namespace
}  // namespace quorbel::testing
