#pragma once

// The forced-win look-ahead over the candidates of one computer move, on bitboards, with a
// transposition table shared by the candidates and the levels, and the candidates spread over the
// machine's cores. It gives for every candidate exactly the verdict and the human line counts that
// searching the record stone by stone gives.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "ai/move_report.h"
#include "ai/transposition_table.h"
#include "game/record.h"

namespace quorbel {

class Position;

using SteadyTime = std::chrono::steady_clock::time_point;

struct LookAheadOutcome {
    int completedLevel = 0;
    // The candidates in order, up to and including the first forced win, at completedLevel.
    std::vector<CandidateReport> examined;
    std::uint64_t nodes = 0;  // searches of the human's replies and of the computer's answers
};

class LookAhead {
  public:
    // The table grows with the level up to 2^maxLog2TableEntries entries; threads 0: one per core.
    LookAhead(int maxLog2TableEntries, int threads);

    // Examines the candidate columns, in order, on the position of WorkBoard. Without a deadline
    // at level only; with one at the levels 1, 2, ... up to level while time remains, giving the
    // result of the deepest level completed (level 1 always completes). progress is told, one by
    // one and from one thread at a time, how many candidates' look-aheads have begun at the level
    // in progress.
    LookAheadOutcome Run(const GameRecord& rec, const std::vector<int>& candidates, int level,
                         std::optional<SteadyTime> deadline,
                         const std::function<void(int)>& progress);

    const TranspositionTable& table() const { return table_; }

  private:
    bool RunLevel(const Position& root, const std::vector<int>& candidates, int level,
                  std::optional<SteadyTime> deadline, const std::function<void(int)>& progress,
                  LookAheadOutcome& outcome);

    TranspositionTable table_;
    int maxLog2TableEntries_;
    int threads_;
};

}  // namespace quorbel
