#pragma once

// The forced-win look-ahead over the candidates of one computer move, on bitboards, with a
// transposition table shared by the candidates and the levels, and the work spread over the
// machine's cores. It gives for every candidate exactly the verdict and the human line counts that
// searching the record stone by stone gives.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ai/move_report.h"
#include "ai/transposition_table.h"
#include "game/record.h"

namespace quorbel {

using SteadyTime = std::chrono::steady_clock::time_point;

struct LookAheadOutcome {
    int completedLevel = 0;
    // The candidates in order, up to and including the first forced win, at completedLevel.
    std::vector<CandidateReport> examined;
    std::uint64_t nodes = 0;  // searches of the human's replies and of the computer's answers
};

// The progress bar's value while the candidates' look-aheads run side by side: the position in the
// list (from 1) of the first candidate not yet finished, which is the candidate whose look-ahead is
// under way in the list's order. However many threads work ahead, it does not run ahead of that.
class CandidateProgress {
  public:
    explicit CandidateProgress(int candidates);

    // Marks the candidate at index (from 0) finished; true when that changed the value.
    bool Finish(int index);
    int Value() const { return firstUnfinished_ + 1; }

  private:
    std::vector<bool> finished_;
    int firstUnfinished_ = 0;
};

class LastAnswersCache;

class LookAhead {
  public:
    // The table grows with the level up to 2^maxLog2TableEntries entries; threads 0: one per core.
    LookAhead(int maxLog2TableEntries, int threads);
    ~LookAhead();
    LookAhead(const LookAhead&) = delete;
    LookAhead& operator=(const LookAhead&) = delete;

    // Examines the candidate columns, in order, on the position of WorkBoard. Without a deadline
    // at level only; with one at the levels 1, 2, ... up to level, giving the result of the deepest
    // level completed (level 1 always completes). A level that cannot be expected to complete in
    // the time left is not begun. progress is told, from one thread at a time, the value of the
    // progress bar: which candidate's look-ahead is under way at the level in progress.
    LookAheadOutcome Run(const GameRecord& rec, const std::vector<int>& candidates, int level,
                         std::optional<SteadyTime> deadline,
                         const std::function<void(int)>& progress);

    // From any thread: a look-ahead with a deadline under way, and every later one, ends as soon as
    // it can, as if its time were up.
    void Stop() { stopped_ = true; }

    const TranspositionTable& table() const { return table_; }
    void ReleaseTable() { table_.Release(); }

  private:
    TranspositionTable table_;
    std::vector<std::unique_ptr<LastAnswersCache>> caches_;  // one for each thread
    int maxLog2TableEntries_;
    int threads_;
    std::atomic<bool> stopped_{false};
};

// From the times the levels 1, 2, ... took (in seconds, in this order), a guess at the next
// level's time that is rather too short than too long.
double EstimateNextLevelSeconds(const std::vector<double>& levelSeconds);

}  // namespace quorbel
