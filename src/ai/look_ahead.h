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
class Position;

class LookAhead {
  public:
    // The table grows with the level up to 2^maxLog2TableEntries entries; threads 0: one per core.
    LookAhead(int maxLog2TableEntries, int threads);
    ~LookAhead();
    LookAhead(const LookAhead&) = delete;
    LookAhead& operator=(const LookAhead&) = delete;

    // Examines the candidate columns, in order, on the position of WorkBoard. Without a deadline
    // at level only; with one at the levels 1, 2, ... up to level as PlanNextLevel steps through
    // them, giving the result of the deepest level completed (level 1 always completes). A level
    // that cannot be expected to complete in the time left is not begun. progress is told, from one
    // thread at a time, the value of the progress bar: which candidate's look-ahead is under way at
    // the level in progress.
    LookAheadOutcome Run(const GameRecord& rec, const std::vector<int>& candidates, int level,
                         std::optional<SteadyTime> deadline,
                         const std::function<void(int)>& progress);

    // From any thread: a look-ahead with a deadline under way, and every later one, ends as soon as
    // it can, as if its time were up.
    void Stop() { stopped_ = true; }

    const TranspositionTable& table() const { return table_; }
    void ReleaseTable() { table_.Release(); }

  private:
    // Searches one level of the move whose deepest level is deepest; its time in seconds (without
    // the table's set-up) when it completed before until.
    std::optional<double> RunLevel(const Position& root, const std::vector<int>& candidates,
                                   int current, int deepest, std::optional<SteadyTime> until,
                                   const std::function<void(int)>& progress,
                                   LookAheadOutcome& outcome);

    TranspositionTable table_;
    std::vector<std::unique_ptr<LastAnswersCache>> caches_;  // one for each thread
    int maxLog2TableEntries_;
    int threads_;
    std::atomic<bool> stopped_{false};
};

// A level that completed and the time it took.
struct LevelTime {
    int level = 0;
    double seconds = 0;
};

// From the levels completed so far, in ascending order (a level may have been left out), a guess
// at the next level's time that is rather too short than too long.
double EstimateNextLevelSeconds(const std::vector<LevelTime>& completed);

// Where the search goes after a completed level, with secondsLeft of the time limit: to level, or
// nowhere (level 0). When the level after next is sure to leave room for the next one, it is
// searched first, and only if it has not completed when reserveSeconds are left does the next
// level get them; either way no deeper decision is given away.
struct LevelStep {
    int level = 0;
    double reserveSeconds = 0;
};
LevelStep PlanNextLevel(const std::vector<LevelTime>& completed, int deepestLevel,
                        double secondsLeft);

}  // namespace quorbel
