#include "ai/evaluation.h"

namespace quorbel {

using namespace board_geometry;

namespace {

struct Line {
    std::array<std::int16_t, 7> cells{};
    int length = 0;  // positions from length on lie outside the board
};

// The cells of a line from its code; both kinds of empty cell read as empty.
constexpr Line Decode(int code, int length) {
    Line line;
    line.length = length;
    for (int p = 0; p < length; ++p) {
        const int digit = code % 4;
        line.cells[static_cast<std::size_t>(p)] =
            static_cast<std::int16_t>(digit == kLandingDigit ? kEmptyDigit : digit);
        code /= 4;
    }
    return line;
}

// The run of human stones directly below the lowest non-human cell in rows 3 to 6; with rows 3 to
// 6 all human only an exact run of four counts.
constexpr ScanResult VerticalScan(const Line& column) {
    int run = 0;
    for (int r = 1;; ++r) {
        if (column.cells[static_cast<std::size_t>(r - 1)] == kHumanDigit) {
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
                if (cell == kHumanDigit) {
                    ++humans;
                } else if (cell == kComputerDigit) {
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

constexpr int LengthOf(LineKind kind) {
    switch (kind) {
        case LineKind::Column:
        case LineKind::Diagonal6:
            return kRows;
        case LineKind::Row:
            return kColumns;
        case LineKind::Diagonal4:
            return 4;
        case LineKind::Diagonal5:
            return 5;
        case LineKind::Short:
            return 0;
    }
    return 0;
}

constexpr ScanResult Scan(LineKind kind, const Line& line) {
    switch (kind) {
        case LineKind::Column:
            return VerticalScan(line);
        case LineKind::Row:
            return WindowScan(line, 3, HorizontalBlock);
        case LineKind::Short:
            return kNothing;
        default:
            return WindowScan(line, 2, DiagonalBlock);
    }
}

constexpr std::array kKinds = {LineKind::Column,    LineKind::Row,       LineKind::Diagonal4,
                               LineKind::Diagonal5, LineKind::Diagonal6, LineKind::Short};

constexpr int CodesOf(LineKind kind) {
    int codes = 1;
    for (int p = 0; p < LengthOf(kind); ++p) {
        codes *= 4;
    }
    return codes;
}

constexpr std::array<ScanResult, kTableEntries> BuildScans() {
    std::array<ScanResult, kTableEntries> scans{};
    for (const LineKind kind : kKinds) {
        for (int code = 0; code < CodesOf(kind); ++code) {
            const int index = TableOffset(kind) + code;
            scans[static_cast<std::size_t>(index)] = Scan(kind, Decode(code, LengthOf(kind)));
        }
    }
    return scans;
}

constexpr PackedLines LinesOf(ScanResult scan) {
    switch (scan) {
        case kLineOf2:
            return PackLines(1, 0, 0);
        case kLineOf3:
            return PackLines(0, 1, 0);
        case kFour:
            return PackLines(0, 0, 1);
        default:
            return 0;
    }
}

// A human stone in a landing cell turns its digit 3 into 2.
constexpr std::array<PackedLines, kTableEntries> BuildReplyLines(
    const std::array<ScanResult, kTableEntries>& scans) {
    std::array<PackedLines, kTableEntries> sums{};
    for (const LineKind kind : kKinds) {
        for (int code = 0; code < CodesOf(kind); ++code) {
            PackedLines sum = 0;
            for (int p = 0, weight = 1; p < LengthOf(kind); ++p, weight *= 4) {
                if ((code / weight) % 4 == kLandingDigit) {
                    sum +=
                        LinesOf(scans[static_cast<std::size_t>(TableOffset(kind) + code - weight)]);
                }
            }
            const int index = TableOffset(kind) + code;
            sums[static_cast<std::size_t>(index)] = sum;
        }
    }
    return sums;
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
        lines.packed = PackLines(lines.lines2, lines.lines3, lines.lines4);
    }
    return all;
}

}  // namespace

// Each starts on a cache line, so that no line holds the end of one table and the start of another.
alignas(64) const std::array<ScanResult, kTableEntries> kScans = BuildScans();
alignas(64) const std::array<PackedLines, kTableEntries> kReplyLines = BuildReplyLines(kScans);
alignas(64) const std::array<StoneLines, 256> kStoneLines = BuildStoneLines();

}  // namespace quorbel
