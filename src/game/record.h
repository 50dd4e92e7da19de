#pragma once

// The game-state record: the displayed board and the analysis board, the move counter and list,
// whose turn it is, the win flags and the computer player's working fields. One record exists per
// main window; every operation of the game works on it directly.

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

namespace quorbel {

constexpr int kColumns = 7;
constexpr int kRows = 6;
constexpr int kCells = kColumns * kRows;

// Cell index of (column 1..7, row 1..6): each column owns six consecutive indices, lowest first.
constexpr int cellIndex(int column, int row) {
    return (column - 1) * kRows + (row - 1);
}
constexpr int columnOfCell(int cell) {
    return cell / kRows + 1;
}
constexpr int rowOfCell(int cell) {
    return cell % kRows + 1;
}

// A fixed array indexed Lo..Hi, as the record's arrays are.
template <typename T, int Lo, int Hi>
class IndexedArray {
  public:
    T& operator[](int i) {
        assert(i >= Lo && i <= Hi);
        return values_[static_cast<std::size_t>(i - Lo)];
    }
    const T& operator[](int i) const {
        assert(i >= Lo && i <= Hi);
        return values_[static_cast<std::size_t>(i - Lo)];
    }
    void clear() { values_.fill(T{}); }
    bool operator==(const IndexedArray&) const = default;

  private:
    std::array<T, Hi - Lo + 1> values_{};
};

// A 7 x 6 board indexed (column 1..7, row 1..6), stored in cell-index order.
class BoardGrid {
  public:
    std::int16_t& operator()(int column, int row) { return cells_[slot(column, row)]; }
    const std::int16_t& operator()(int column, int row) const { return cells_[slot(column, row)]; }
    void clear() { cells_.fill(0); }
    bool operator==(const BoardGrid&) const = default;

  private:
    static std::size_t slot(int column, int row) {
        assert(column >= 1 && column <= kColumns && row >= 1 && row <= kRows);
        return static_cast<std::size_t>(cellIndex(column, row));
    }
    std::array<std::int16_t, kCells> cells_{};
};

// Per candidate column 1..7 and line size 2..4. 64-bit: deep look-aheads count far beyond 2^31.
using LineCounts = std::array<IndexedArray<std::int64_t, 2, 4>, kColumns + 1>;

// Stone codes on Board (by colour) and WorkBoard (by side).
constexpr std::int16_t kEmpty = 0;
constexpr std::int16_t kRed = 1, kBlue = 2;
constexpr std::int16_t kComputer = 1, kHuman = 2;

constexpr std::int16_t kNoGame = 1, kGameRunning = 2, kGameWon = 3;
constexpr std::int16_t kDrawMoveNr = 43;

struct GameRecord {
    // Players and colours.
    std::string HumanName;
    std::string CompName;
    std::int16_t RedColor = 0;   // PaletteColor(12) fits in 16 bits
    std::int32_t BlueColor = 0;  // (0, 0, 255)
    bool Defensive = false;      // playing style: defensive or aggressive

    // The game.
    std::int16_t GameState = 0;                  // 1 no game, 2 running, 3 won and blinking
    std::int16_t MoveNr = 0;                     // move to be made next; 43 after a draw
    IndexedArray<std::int16_t, 0, 42> MoveList;  // cell of each move; entry 0 is fixed at 1
    bool BlueToMove = false;
    bool HumanIsRed = false;
    std::int32_t CurCol = 0;
    BoardGrid Board;  // 0 empty, 1 red, 2 blue
    IndexedArray<std::int16_t, 1, 7> ColHeight;
    IndexedArray<std::int16_t, 0, 7> WinCells;  // entry 0: count; 1..count: cells in scan order

    // The analysis board: 1 computer, 2 human.
    BoardGrid WorkBoard;
    IndexedArray<std::int16_t, 1, 7> WorkColHeight;
    bool CompWon = false;
    bool HumanWon = false;

    // The computer player's working fields.
    std::int32_t Level = 0;
    double ThinkStartTime = 0.0;
    IndexedArray<std::int16_t, 1, 7> Candidates;
    LineCounts EnemyLines{};
    LineCounts CompLines{};  // never filled: its comparisons never decide
    std::int32_t TestCol = 0;
    std::vector<std::int32_t> MovesTried, MovesLost, MovesWon;  // per depth 1..Level at [depth - 1]
    std::int32_t ProgressTotal = 0;
    std::int32_t ProgressDone = 0;

    // The player of a colour as the game stands now: HumanName or CompName.
    const std::string& PlayerOf(bool red) const { return red == HumanIsRed ? HumanName : CompName; }

    // A four or a full board ended the game: column clicks are ignored.
    bool IsOver() const { return GameState == kGameWon || MoveNr == kDrawMoveNr; }

    // Fills WorkBoard from Board, coded by side.
    void CopyToWorkBoard();

    // Stone operations on WorkBoard; the caller keeps columns within their heights.
    void SetCompStone(int k);
    void SetHumanStone(int k);
    void TakeStone(int k);
    void TryCompMove(int k);
    void CheckHumanFour(int k);

    // Recodes WorkBoard from Board so that the side that has just moved carries code 1.
    void InitFinishColor();

    // Fills WinCells with the code-1 line through the top stone of column col on WorkBoard and
    // returns whether one was found.
    bool FindWinCells(int col);

  private:
    bool fourThroughTop(int k, std::int16_t code) const;
};

}  // namespace quorbel
