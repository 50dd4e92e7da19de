#pragma once

// One level of the look-ahead over all candidates, split between threads. A work item is the
// computer's answers to one human reply to a computer move (a Search each). From
// kSplitFromLevel on, the computer's answers to a candidate's reply are split as well, each answer
// a move of its own whose replies are items, and once more below the candidate's first answer to
// its first reply: the items then stay small enough to keep 16 threads busy (docs/engine.md,
// "Threads"). The threads take the items in the list's order, so the lower
// candidates finish first, and whoever finishes the last item below a move combines its replies
// in their order, as searching the move whole would: up to the first reply that refutes it; the
// answers of a split reply likewise, up to the first that wins. Work that can no longer count is
// cut (level_control.h).

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "ai/last_answers_cache.h"
#include "ai/level_control.h"
#include "ai/move_report.h"
#include "ai/position.h"
#include "ai/search_results.h"
#include "ai/transposition_table.h"
#include "ai/work_trace.h"

namespace quorbel {

class Search;

class LevelRun {
  public:
    // From this level on the answers to the candidates' replies are split into moves of their own;
    // below it a level takes well under a tenth of a second (docs/engine.md, "Threads").
    static constexpr int kSplitFromLevel = 6;

    LevelRun(const Position& root, const std::vector<int>& candidates, int level,
             TranspositionTable& table, LevelControl& control);

    // One thread for each cache, at most one for each work item; returns when the level has
    // completed or ended. With times, each item's time goes to its place in it.
    void Run(const std::vector<LastAnswersCache*>& caches, std::vector<ItemTime>* times = nullptr);

    // After a level that completed: the candidates in order up to and including the first forced
    // win.
    std::vector<CandidateReport> Examined() const;

    // The node count (Search::nodes) of the level's work items.
    std::uint64_t nodes() const { return nodes_; }

  private:
    // A computer move whose replies are searched: a candidate (depth 1), or an answer of a split
    // reply.
    struct Move {
        int column = 0;
        int depth = 1;
        int candidate = 0;              // the candidate it lies below, or is (from 0)
        int control = 0;                // its node in the level control
        int split = -1;                 // for an answer: the split reply it answers (in splits_)
        int place = 0;                  // its place among the candidates or the split's answers
        Position position;              // with the move's stone
        std::vector<int> replies;       // the human replies whose answers are searched, in order
        bool fourAfterReplies = false;  // the next open reply makes four at once
        std::vector<std::optional<CompAnswers>> answers;  // by reply
        bool reached = false;                             // an answer's first item has reached it
        std::optional<HumanReplies> known;                // an answer's replies, from the table
        std::atomic<int> itemsLeft{0};
    };

    // A human reply whose answers are moves of their own (SplitsRepliesOf).
    struct SplitReply {
        int move = 0;
        int reply = 0;  // its place among the move's replies
        int control = 0;
        bool fourAfterAnswers = false;  // the next open answer makes four at once
        std::vector<std::optional<HumanReplies>> replies;  // by answer
        std::atomic<int> answersLeft{0};
    };

    // The answers to the reply-th reply of move; an answer's first item (reply 0) reaches it, and
    // an answer without replies to search has that item alone.
    struct Item {
        int move;
        int reply;
    };

    void Plan(const Position& root, int column, int index);
    void PlanReplies(int index);
    bool SplitsRepliesOf(const Move& move) const;
    bool PlanSplit(int index, int reply);
    void Work(LastAnswersCache& cache, int thread, std::vector<ItemTime>* times);
    ItemTime TimedDo(const Item& item, Search& search, int thread);
    void Do(const Item& item, Search& search);
    bool Reach(int index, Search& search);
    void ItemDone(int move);
    void CombineMove(int index);
    void CombineSplit(int index);
    void Settle(int index, const HumanReplies& replies);

    int level_;
    TranspositionTable& table_;
    LevelControl& control_;
    int candidates_ = 0;
    std::deque<Move> moves_;  // the candidates first; deques, as atomics never move
    std::deque<SplitReply> splits_;
    std::vector<std::optional<CandidateReport>> reports_;  // by candidate
    std::vector<Item> items_;
    std::atomic<std::size_t> next_{0};
    SteadyTime start_;  // of Run
    std::atomic<std::uint64_t> nodes_{0};
};

}  // namespace quorbel
