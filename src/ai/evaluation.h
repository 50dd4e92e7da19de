#pragma once

// The evaluation of a human stone at the look-ahead's horizon: it scans the four lines through the
// stone and records at most one human line of 2, 3 or 4 stones on each. Each scan depends only on
// the cells of its line, so every scan is tabulated over every code of its line
// (board_geometry.h): kScans gives what the scan records, treating both kinds of empty cell alike.
// The landing cells tell where the human can reply: kReplyLines sums what the scan of a line
// records over a human stone in each of its landing cells in turn. With them the look-ahead scores
// all seven replies to a position from its line codes without playing a stone.

#include <array>
#include <cstdint>

#include "ai/board_geometry.h"
#include "ai/move_report.h"
#include "ai/position.h"

namespace quorbel {

// What one scan records, as a 2-bit value: nothing, a line of 2 or of 3 human stones, or a four.
enum ScanResult : std::uint8_t { kNothing = 0, kLineOf2 = 1, kLineOf3 = 2, kFour = 3 };

// Counts of lines of 2, 3 and 4 human stones packed into one word, kPackedFieldBits each from the
// bottom (bits 0-9, 10-19 and 20-29; the two bits above are never read), so that the evaluations
// of many stones add up one addition each. The packing is linear modulo 2^32, so sums and
// differences of packed counts are the packed sums and differences as long as the counts that come
// out fit their fields, even where a difference borrows on the way.
using PackedLines = std::uint32_t;

constexpr int kPackedFieldBits = 10;
constexpr PackedLines kPackedFieldMax = (1U << kPackedFieldBits) - 1;

constexpr PackedLines PackLines(int lines2, int lines3, int lines4) {
    return static_cast<PackedLines>(lines2) | static_cast<PackedLines>(lines3) << kPackedFieldBits |
           static_cast<PackedLines>(lines4) << (2 * kPackedFieldBits);
}

constexpr int UnpackLines(PackedLines packed, int size) {
    return static_cast<int>((packed >> (kPackedFieldBits * (size - 2))) & kPackedFieldMax);
}

// A stone records at most four lines; the look-ahead sums at most the 7 x 7 replies to the
// answers to one human stone in one packed word (LastAnswers in search.cpp).
constexpr int kMostLinesOfAStone = 4;
constexpr int kMostStonesInAPackedSum = kColumns * kColumns;
static_assert(kMostStonesInAPackedSum * kMostLinesOfAStone <= static_cast<int>(kPackedFieldMax));

inline void AddPackedLines(LineTally& to, PackedLines from) {
    for (int n = 2; n <= 4; ++n) {
        to[n] += UnpackLines(from, n);
    }
}

// What the whole evaluation of one stone adds to the line counts, for the four scans' results
// packed as vertical | horizontal << 2 | rising << 4 | falling << 6: the scans run in this order
// and the first four ends the evaluation.
struct StoneLines {
    std::uint8_t lines2;
    std::uint8_t lines3;
    std::uint8_t lines4;
    bool four;
    PackedLines packed;
};

// By a line's code plus its kind's offset: what its scan records for the human stone on it. The
// stone is one of its cells coded 2; the other cells coded 2 are the human's earlier stones.
extern const std::array<ScanResult, board_geometry::kTableEntries> kScans;
// By a line's code plus its kind's offset: the lines its scan records, summed over a human stone in
// each of its landing cells in turn.
extern const std::array<PackedLines, board_geometry::kTableEntries> kReplyLines;
extern const std::array<StoneLines, 256> kStoneLines;

// The results of the four scans for a human stone dropped into col, packed as kStoneLines indexes
// them; the position itself is not changed.
inline int ScansOfHumanStoneIn(const Position& pos, int col) {
    const board_geometry::Cell& cell = board_geometry::At(col, pos.LandingRow(col));
    int scans = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        // The landing cell's digit 3 becomes the human's 2.
        const int code = pos.Code(cell.lines[k]) - cell.weights[k];
        scans |= kScans[static_cast<std::size_t>(code)] << (2 * k);
    }
    return scans;
}

// The evaluation of every reply of the human in turn, until one makes four; true if one does.
inline bool EvaluateReplies(const Position& pos, PackedLines& lines) {
    for (int col = 1; col <= kColumns; ++col) {
        if (!pos.IsOpen(col)) {
            continue;
        }
        const StoneLines& found =
            kStoneLines[static_cast<std::size_t>(ScansOfHumanStoneIn(pos, col))];
        lines += found.packed;
        if (found.four) {
            return true;
        }
    }
    return false;
}

// What the evaluation records for a human stone dropped into column reply after a computer stone
// is dropped into column answer (nothing when the column has no room); the position itself is not
// changed. The stone changes the lines it shares with the reply's cell, and in its own column the
// reply lands on top of it.
inline PackedLines LinesOfHumanStoneAfterComputerIn(const Position& pos, int answer, int reply) {
    using namespace board_geometry;
    const int row = pos.LandingRow(reply) + (reply == answer ? 1 : 0);
    if (row > kRows) {
        return 0;
    }
    const Cell& stone = At(answer, pos.LandingRow(answer));
    const Cell& cell = At(reply, row);
    // The reply's cell turns from landing, or on top of the answer from empty, to human.
    const int change = kHumanDigit - (reply == answer ? kEmptyDigit : kLandingDigit);
    constexpr int kStone = kComputerDigit - kLandingDigit;
    int scans = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const int shared = cell.lines[k] == stone.lines[k] ? 1 : 0;
        const int code =
            pos.Code(cell.lines[k]) + change * cell.weights[k] + shared * kStone * stone.weights[k];
        scans |= kScans[static_cast<std::size_t>(code)] << (2 * k);
    }
    return kStoneLines[static_cast<std::size_t>(scans)].packed;
}

// What the evaluation records over every reply of the human, each as if it were the only one:
// the evaluations summed without regard to a four that would end the replies.
inline PackedLines LinesOfAllReplies(const Position& pos) {
    PackedLines sum = 0;
    for (const std::uint16_t code : pos.Codes()) {
        sum += kReplyLines[code];
    }
    return sum;
}

// The same after a computer stone is dropped into col, from linesNow, what it is now; the position
// itself is not changed. Only the lines through the stone's cell and through the cell above it
// change.
inline PackedLines LinesOfAllRepliesAfterComputerIn(const Position& pos, int col,
                                                    PackedLines linesNow) {
    const board_geometry::Drop& drop =
        board_geometry::DropOf(col, pos.LandingRow(col), board_geometry::kComputerDigit);
    PackedLines lines = linesNow;
    for (std::size_t k = 0; k < drop.lines.size(); ++k) {
        const int code = pos.Code(drop.lines[k]);
        const int changed = code + drop.changes[k];
        lines += kReplyLines[static_cast<std::size_t>(changed)] -
                 kReplyLines[static_cast<std::size_t>(code)];
    }
    return lines;
}

}  // namespace quorbel
