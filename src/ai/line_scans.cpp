#include "ai/line_scans.h"

#include "game/record.h"

namespace quorbel {

namespace {

struct Line {
    std::array<std::int16_t, 7> cells{};
    int length = 0;  // positions from length on lie outside the board
};

constexpr Line Decode(int code, int length) {
    Line line;
    line.length = length;
    for (int p = 0; p < length; ++p) {
        line.cells[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(code % 3);
        code /= 3;
    }
    return line;
}

// The run of human stones directly below the lowest non-human cell in rows 3 to 6; with rows 3 to
// 6 all human only an exact run of four counts.
constexpr ScanResult VerticalScan(const Line& column) {
    int run = 0;
    for (int r = 1;; ++r) {
        if (column.cells[static_cast<std::size_t>(r - 1)] == kHuman) {
            ++run;
            if (r == 6) {
                return run == 4 ? kFour : kNothing;
            }
            continue;
        }
        if (run == 4) {
            return kFour;
        }
        // Below row 3 the run is at most 1, so nothing is recorded before the scan ends here.
        if (r > 2) {
            return run == 2 ? kLineOf2 : run == 3 ? kLineOf3 : kNothing;
        }
        run = 0;
    }
}

enum class Blocked { ScanFinished, NextTarget, NextWindow };

constexpr Blocked HorizontalBlock(int p) {
    return p == 3 ? Blocked::ScanFinished : p > 3 ? Blocked::NextTarget : Blocked::NextWindow;
}

constexpr Blocked DiagonalBlock(int p) {
    return p == 3 || p == 4 ? Blocked::ScanFinished
           : p >= 5         ? Blocked::NextTarget
                            : Blocked::NextWindow;
}

// For the targets 4, 3, 2 the first window (from the line's start) holding that many human stones
// and only empty cells besides; a computer stone blocks windows as computerStoneAt says.
constexpr ScanResult WindowScan(const Line& line, int lastWindow,
                                Blocked (*computerStoneAt)(int p)) {
    for (int n = 4; n >= 2; --n) {
        bool nextTarget = false;
        for (int i = 0; i <= lastWindow && !nextTarget; ++i) {
            int humans = 0;
            int empties = 0;
            bool nextWindow = false;
            for (int p = i; p <= i + 3; ++p) {
                if (p >= line.length) {
                    nextTarget = true;
                    break;
                }
                const std::int16_t cell = line.cells[static_cast<std::size_t>(p)];
                if (cell == kHuman) {
                    ++humans;
                } else if (cell == kComputer) {
                    const Blocked blocked = computerStoneAt(p);
                    if (blocked == Blocked::ScanFinished) {
                        return kNothing;
                    }
                    nextTarget = blocked == Blocked::NextTarget;
                    nextWindow = blocked == Blocked::NextWindow;
                    break;
                } else if (++empties > 4 - n) {
                    nextWindow = true;
                    break;
                }
            }
            if (!nextTarget && !nextWindow && humans == n && empties == 4 - n) {
                return n == 4 ? kFour : n == 3 ? kLineOf3 : kLineOf2;
            }
        }
    }
    return kNothing;
}

constexpr ScanTables BuildScanTables() {
    ScanTables tables{};
    for (int code = 0; code < kCodesOf6; ++code) {
        tables.vertical[static_cast<std::size_t>(code)] = VerticalScan(Decode(code, 6));
    }
    for (int code = 0; code < kCodesOf7; ++code) {
        tables.horizontal[static_cast<std::size_t>(code)] =
            WindowScan(Decode(code, 7), 3, HorizontalBlock);
    }
    for (int length = 1; length <= 6; ++length) {
        int codes = 1;
        for (int p = 0; p < length; ++p) {
            codes *= 3;
        }
        for (int code = 0; code < codes; ++code) {
            tables.diagonal[static_cast<std::size_t>(length)][static_cast<std::size_t>(code)] =
                WindowScan(Decode(code, length), 2, DiagonalBlock);
        }
    }
    return tables;
}

constexpr std::array<StoneLines, 256> BuildStoneLines() {
    std::array<StoneLines, 256> all{};
    for (int packed = 0; packed < 256; ++packed) {
        StoneLines& lines = all[static_cast<std::size_t>(packed)];
        for (int scan = 0; scan < 4 && !lines.four; ++scan) {
            switch ((packed >> (2 * scan)) & 3) {
                case kLineOf2:
                    ++lines.lines2;
                    break;
                case kLineOf3:
                    ++lines.lines3;
                    break;
                case kFour:
                    ++lines.lines4;
                    lines.four = true;
                    break;
                default:
                    break;
            }
        }
    }
    return all;
}

}  // namespace

const ScanTables kScanTables = BuildScanTables();
const std::array<StoneLines, 256> kStoneLines = BuildStoneLines();

}  // namespace quorbel
