#pragma once

// One level of the look-ahead over all candidates, split between threads. The work items are the
// computer's answers to one human reply to one candidate (a Search each); the threads take them in
// the list's order, so the lower candidates finish first, and whoever finishes a candidate's last
// item combines its replies in their order, as searching the candidate whole would: up to the
// first reply that refutes it. Work that can no longer count is cut (level_control.h).

#include <atomic>
#include <cstdint>
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
    struct Candidate {
        int column = 0;
        int control = 0;                // its node in the level control
        Position position;              // with the candidate's stone
        std::vector<int> replies;       // the human replies whose answers are searched, in order
        bool fourAfterReplies = false;  // the next open reply makes four at once
        std::vector<std::optional<CompAnswers>> answers;  // by reply
        std::atomic<int> itemsLeft{0};
        std::optional<CandidateReport> report;
    };

    struct Item {
        int candidate;
        int reply;
    };

    void Plan(const Position& root, int column, int index);
    void Work(LastAnswersCache& cache, int thread, std::vector<ItemTime>* times);
    ItemTime TimedDo(const Item& item, Search& search, int thread);
    void Do(const Item& item, Search& search);
    void Combine(int index);
    void Settle(int index, const HumanReplies& replies);

    int level_;
    TranspositionTable& table_;
    LevelControl& control_;
    std::vector<Candidate> candidates_;
    std::vector<Item> items_;
    std::atomic<std::size_t> next_{0};
    SteadyTime start_;  // of Run
    std::atomic<std::uint64_t> nodes_{0};
};

}  // namespace quorbel
