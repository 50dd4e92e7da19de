#pragma once

// The recursion of the look-ahead below one work item: the computer's answers to one human reply
// to one candidate, and everything below them down to the horizon, on the thread's own copy of the
// board, with the transposition table that all threads share and the thread's own cache of the
// last answers. docs/engine.md draws the plies.
//
// Depth d is a move pair: a computer move and the human's replies to it. The candidate is the
// computer move of depth 1 and its replies are split into work items by the level run, so a search
// begins with the computer's answers of depth 2, or deeper where the level run splits the answers
// above them too. At depth Level, the last, the answers' replies are only evaluated (the
// horizon), all at once from the line codes.

#include <cstdint>
#include <optional>

#include "ai/last_answers_cache.h"
#include "ai/level_control.h"
#include "ai/move_order.h"
#include "ai/position.h"
#include "ai/search_results.h"
#include "ai/transposition_table.h"

namespace quorbel {

class Search {
  public:
    Search(int level, TranspositionTable& table, LastAnswersCache& cache, LevelControl& control)
        : level_(level), table_(table), cache_(cache), control_(control) {}

    // Begins a work item: what is searched from now on is the work on the move-th move of the
    // level control's node (level_control.h), and is cut short when that no longer counts.
    void BeginItem(int node, int move);

    // Counts a search that the level run has split into work items, where the search would have
    // counted it.
    void CountSplitSearch();

    // The computer's answers of depth (2 up to the level) on position, on which the human has
    // just replied; nothing when the work was cut short because the level ended or the work no
    // longer counts.
    std::optional<CompAnswers> AnswersAfterReply(const Position& position, int depth);

    // The node count, the look-ahead's measure of its work (LevelRun, LookAheadOutcome and
    // MoveReport hand on its sums): one for each search of the human's replies to a computer stone
    // and one for each search of the computer's answers to a human stone, over the work items this
    // Search took. A table or cache hit counts as the search it saves, without what lies below it.
    std::uint64_t nodes() const { return nodes_; }

  private:
    enum class Cut { None, LevelEnded, NoLongerNeeded };

    CompAnswers SearchAnswers(int depth, std::uint64_t computerFours);
    HumanReplies RepliesAfterAnswer(int answer, int depth);
    HumanReplies SearchReplies(int depth);
    CompAnswers AnswersAfterReplyIn(int reply, int depth, std::uint64_t computerFours);
    CompAnswers LastAnswersAfterReplyIn(int reply, std::uint64_t computerFours);
    CompAnswers LastAnswersOnTheBoard(std::uint64_t computerFours);
    LastAnswersCache::Entry LastAnswers(std::uint64_t computerFours);

    void PrefetchRepliesToEveryAnswer(int levelsLeft, std::uint64_t computerFours) const;
    void PrefetchRepliesToEveryReplyAndAnswer(int levelsLeft, const ColumnsInOrder& replies,
                                              std::uint64_t computerFours) const;

    void CountSearches(int searches = 1);

    // How many searches pass between two looks at the clock and at the other threads' findings.
    static constexpr std::uint64_t kCheckInterval = 1024;

    Position pos_;
    int level_;
    TranspositionTable& table_;
    LastAnswersCache& cache_;
    LevelControl& control_;
    int node_ = LevelControl::kRoot;  // the current work item's place in the level control
    int move_ = 0;
    Cut cut_ = Cut::None;
    std::uint64_t nodes_ = 0;
    std::uint64_t nextCheck_ = kCheckInterval;
};

}  // namespace quorbel
