#pragma once

// The evaluation of a human stone at the look-ahead's horizon scans the four lines through it. Each
// scan depends only on the cells of its line, so every scan is tabulated: for every content of a
// line, what the scan records. A line is coded base 4 from its start, one digit per cell: 0 empty,
// 1 computer, 2 human, 3 empty where the next stone of its column lands (a landing cell); the cell
// at position p weighs 4^p. The scans treat both kinds of empty cell alike. The landing cells tell
// where the human can reply: for every content, a second table sums what the scans of this line
// record over all the replies that land on it.

#include <array>
#include <cstdint>

namespace quorbel {

// What one scan records, as a 2-bit value: nothing, a line of 2 or of 3 human stones, or a four.
enum ScanResult : std::uint8_t { kNothing = 0, kLineOf2 = 1, kLineOf3 = 2, kFour = 3 };

constexpr int kEmptyDigit = 0;
constexpr int kComputerDigit = 1;
constexpr int kHumanDigit = 2;
constexpr int kLandingDigit = 3;

// The kinds of line a scan runs on, each with its own rules or length. Diagonals of fewer than four
// cells hold no window: their scans record nothing, whatever they hold, so they share one table
// entry (kShort) and are coded 0.
enum class LineKind : std::uint8_t { Column, Row, Diagonal4, Diagonal5, Diagonal6, Short };

// Where the entries of a line kind start in the tables: a line's code plus its kind's offset is its
// index in kScans and kReplyLines.
constexpr int TableOffset(LineKind kind) {
    switch (kind) {
        case LineKind::Column:
            return 0;
        case LineKind::Row:
            return 4096;  // 4^6 columns before
        case LineKind::Diagonal4:
            return 4096 + 16384;
        case LineKind::Diagonal5:
            return 4096 + 16384 + 256;
        case LineKind::Diagonal6:
            return 4096 + 16384 + 256 + 1024;
        case LineKind::Short:
            return 4096 + 16384 + 256 + 1024 + 4096;
    }
    return 0;
}
constexpr int kTableEntries = TableOffset(LineKind::Short) + 1;

// Counts of lines of 2, 3 and 4 human stones in 10-bit fields of one word, so that the evaluations
// of many stones add up one addition each: a field holds the lines of 255 stones.
using PackedLines = std::uint32_t;

constexpr PackedLines PackLines(int lines2, int lines3, int lines4) {
    return static_cast<PackedLines>(lines2) | static_cast<PackedLines>(lines3) << 10 |
           static_cast<PackedLines>(lines4) << 20;
}

constexpr int UnpackLines(PackedLines packed, int size) {
    return static_cast<int>((packed >> (10 * (size - 2))) & 0x3FF);
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
extern const std::array<ScanResult, kTableEntries> kScans;
// By a line's code plus its kind's offset: the lines its scan records, summed over a human stone in
// each of its landing cells in turn.
extern const std::array<PackedLines, kTableEntries> kReplyLines;
extern const std::array<StoneLines, 256> kStoneLines;

}  // namespace quorbel
