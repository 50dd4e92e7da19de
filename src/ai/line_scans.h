#pragma once

// The evaluation of a human stone at the look-ahead's horizon scans the four lines through it. Each
// scan depends only on the cells of its line, so every scan is tabulated: for every content of a
// line, what the scan records. A line is coded base 3 from its start, one digit per cell (0 empty,
// 1 computer, 2 human; the cell at position p weighs 3^p).

#include <array>
#include <cstdint>

namespace quorbel {

// What one scan records, as a 2-bit value: nothing, a line of 2 or of 3 human stones, or a four.
enum ScanResult : std::uint8_t { kNothing = 0, kLineOf2 = 1, kLineOf3 = 2, kFour = 3 };

constexpr int kCodesOf6 = 729;   // 3^6: a column or a diagonal
constexpr int kCodesOf7 = 2187;  // 3^7: a row

struct ScanTables {
    std::array<ScanResult, kCodesOf6> vertical;    // a column, from row 1
    std::array<ScanResult, kCodesOf7> horizontal;  // a row, from column 1
    // A diagonal from its lower end, by its length 1..6 (index 0 unused); both diagonal scans
    // follow the same rules.
    std::array<std::array<ScanResult, kCodesOf6>, 7> diagonal;
};

// What the whole evaluation of one stone adds to the line counts, for the four scans' results
// packed as vertical | horizontal << 2 | rising << 4 | falling << 6: the scans run in this order
// and the first four ends the evaluation.
struct StoneLines {
    std::uint8_t lines2;
    std::uint8_t lines3;
    std::uint8_t lines4;
    bool four;
};

extern const ScanTables kScanTables;
extern const std::array<StoneLines, 256> kStoneLines;

}  // namespace quorbel
