#pragma once

// The forced-win look-ahead over the candidates of one computer move, driven level by level. It
// gives for every candidate exactly the verdict and the human line counts that searching the record
// stone by stone gives (docs/engine.md says how and what must therefore never change).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ai/level_control.h"
#include "ai/move_report.h"
#include "ai/time_policy.h"
#include "ai/transposition_table.h"
#include "ai/work_trace.h"
#include "game/record.h"

namespace quorbel {

struct LookAheadOutcome {
    int completedLevel = 0;
    // The candidates in order, up to and including the first forced win, at completedLevel.
    std::vector<CandidateReport> examined;
    std::uint64_t nodes = 0;  // the node count (Search::nodes) of every level run, completed or not
};

class LastAnswersCache;
class Position;

class LookAhead {
  public:
    // The table grows with the level up to 2^maxLog2TableEntries entries; threads 0: one per core.
    LookAhead(int maxLog2TableEntries, int threads);
    ~LookAhead();
    LookAhead(const LookAhead&) = delete;
    LookAhead& operator=(const LookAhead&) = delete;

    // Examines the candidate columns, in order, on the position of WorkBoard. Without a deadline
    // at level only; with one at the levels 1, 2, ... up to level as the time policy steps through
    // them, giving the result of the deepest level completed (level 1 always completes). A level
    // that cannot be expected to complete in the time left is not begun. progress is told the share
    // of the think done (think_progress.h), from one thread at a time, ending with 1.
    LookAheadOutcome Run(const GameRecord& rec, const std::vector<int>& candidates, int level,
                         std::optional<SteadyTime> deadline,
                         const std::function<void(double)>& progress);

    // From any thread: a look-ahead with a deadline under way, and every later one, ends as soon as
    // it can, as if its time were up.
    void Stop() { stopAsked_ = true; }

    // From now on every level run, completed or not, appends its work items' times to levels.
    void TraceLevels(std::vector<LevelTrace>* levels) { trace_ = levels; }

    const TranspositionTable& table() const { return table_; }
    void ReleaseTable() { table_.Release(); }

  private:
    // Searches level `current` of a move whose deepest level is `deepest`; its search time in
    // seconds (time_policy.h) when it completed before until.
    std::optional<double> RunLevel(const Position& root, const std::vector<int>& candidates,
                                   int current, int deepest, std::optional<SteadyTime> until,
                                   ThinkProgress& progress, LookAheadOutcome& outcome,
                                   LevelEnd& end);

    TranspositionTable table_;
    std::vector<std::unique_ptr<LastAnswersCache>> caches_;  // one for each thread
    int maxLog2TableEntries_;
    int threads_;
    std::atomic<bool> stopAsked_{false};
    std::vector<LevelTrace>* trace_ = nullptr;
};

}  // namespace quorbel
