#pragma once

// What one decision of the computer player found: the stage that settled it, the candidates that
// passed the one-move filter, the look-ahead's verdict and human line counts for every candidate
// it examined, and the candidates left for the choice. The driver fills it; the analysis tool, the
// benchmark and the tests read it.

#include <cstdint>
#include <string_view>
#include <vector>

#include "game/record.h"

namespace quorbel {

// The highest level the level control offers; the look-ahead supports no deeper search.
constexpr int kMaxLevel = 10;

// Human lines of 2, 3 and 4 stones, as filed in EnemyLines for one candidate.
using LineTally = IndexedArray<std::int64_t, 2, 4>;

inline void AddTally(LineTally& to, const LineTally& from) {
    for (int n = 2; n <= 4; ++n) {
        to[n] += from[n];
    }
}

enum class MoveExit { Opening, ImmediateWin, ForcedWin, Defeat, Choice };
enum class Verdict { None, Lost, Won };

struct CandidateReport {
    int column = 0;
    Verdict verdict = Verdict::None;
    LineTally lines;
    bool operator==(const CandidateReport&) const = default;
};

struct MoveReport {
    MoveExit exit = MoveExit::Opening;
    // The level asked for, and the level whose decision was played: lower only when the time
    // limit or a stop ended the look-ahead early. Both stay 0 at the opening, which reads no level.
    int level = 0;
    int completedLevel = 0;
    // Candidates when the filter stage ended: all that passed it, or on an immediate four those
    // before the winning column and that column.
    std::vector<int> filtered;
    std::vector<CandidateReport> examined;  // in the order the look-ahead took them
    std::vector<int> remaining;             // candidates entering the choice (Choice exit only)
    int column = 0;                         // the column played
    std::uint64_t nodes = 0;                // the look-ahead's node count (Search::nodes)
};

// Two decisions agree when everything but the search's effort and a column drawn at random is
// the same.
inline bool SameDecision(const MoveReport& a, const MoveReport& b) {
    const bool drawn = a.exit == MoveExit::Opening || a.exit == MoveExit::Choice;
    return a.exit == b.exit && a.level == b.level && a.completedLevel == b.completedLevel &&
           a.filtered == b.filtered && a.examined == b.examined && a.remaining == b.remaining &&
           (drawn || a.column == b.column);
}

constexpr std::string_view ExitName(MoveExit exit) {
    switch (exit) {
        case MoveExit::Opening:
            return "opening";
        case MoveExit::ImmediateWin:
            return "immediate_win";
        case MoveExit::ForcedWin:
            return "forced_win";
        case MoveExit::Defeat:
            return "defeat";
        case MoveExit::Choice:
            return "choice";
    }
    return "";
}

constexpr std::string_view VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::None:
            return "none";
        case Verdict::Lost:
            return "lost";
        case Verdict::Won:
            return "won";
    }
    return "";
}

}  // namespace quorbel
