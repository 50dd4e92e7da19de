#pragma once

// What the threads searching one level share besides the table: when the level must end, and which
// work no longer counts for its result.
//
// Three reasons cut work short, and they are kept apart because they mean different things:
// - the time is up: the level ends incomplete and the deepest level completed before decides;
// - a stop was asked for (the window is closing): the same, and no further level is begun;
// - the work no longer counts: a candidate before its candidate wins by force, a reply before its
//   reply refutes the candidate, and likewise below where the level run splits a reply's answers
//   (level_run.h). Searching the moves in order would never have reached it; the level goes on.
//
// The work that no longer counts is kept as a tree of the moves the level run splits its work by:
// the root's moves are the candidates, a candidate's moves its replies, and so on down to the moves
// a work item searches. Each node keeps the first of its moves found to decide it (a win among the
// computer's moves, a refutation among the human's); the moves after that one no longer count, nor
// anything below them. A node whose result is found in the table needs none of its moves.
//
// Every field that changes during the level is an atomic read and written relaxed: each is a
// single value that only moves one way (the end from Running to a reason, the firsts downwards),
// and a thread that sees an old value merely does work that is thrown away a little later. The
// nodes' places in the tree are written before the threads start. The results of the work are
// handed over through the level run's counters of items left (level_run.cpp), not through these.

#include <atomic>
#include <chrono>
#include <deque>
#include <optional>

#include "ai/steady_time.h"
#include "ai/think_progress.h"
#include "game/record.h"

namespace quorbel {

enum class LevelEnd { Running, TimeUp, StopAsked };

class LevelControl {
  public:
    // Without a deadline the level runs to its end whatever happens. The progress, if any, is
    // ticked at every look.
    LevelControl(std::optional<SteadyTime> deadline, const std::atomic<bool>& stopAsked,
                 ThinkProgress* progress = nullptr)
        : deadline_(deadline), stopAsked_(stopAsked), progress_(progress) {
        nodes_.emplace_back(kRoot, 0);
    }

    // Looks at the clock and at the stop request: whether the level has ended.
    bool CheckEnded() {
        const SteadyTime now = std::chrono::steady_clock::now();
        if (progress_ != nullptr) {
            progress_->Tick(now);
        }
        if (deadline_ && End() == LevelEnd::Running) {
            if (stopAsked_.load(std::memory_order_relaxed)) {
                end_.store(LevelEnd::StopAsked, std::memory_order_relaxed);
            } else if (now >= *deadline_) {
                end_.store(LevelEnd::TimeUp, std::memory_order_relaxed);
            }
        }
        return End() != LevelEnd::Running;
    }
    LevelEnd End() const { return end_.load(std::memory_order_relaxed); }

    // The root of the tree of moves; its moves are the candidates, from 0.
    static constexpr int kRoot = 0;

    // Adds a node for the move-th move (from 0, in order) of node parent; its id. Before the
    // threads start.
    int AddNode(int parent, int move) {
        nodes_.emplace_back(parent, move);
        return static_cast<int>(nodes_.size()) - 1;
    }

    // Whether the work on the move-th move of node still counts: that move and every move above it
    // come no later than the first move that decides its node.
    bool Needed(int node, int move) const {
        for (;;) {
            const Node& n = nodes_[static_cast<std::size_t>(node)];
            if (move > n.firstDeciding.load(std::memory_order_relaxed)) {
                return false;
            }
            if (node == kRoot) {
                return true;
            }
            move = n.move;
            node = n.parent;
        }
    }
    // Whether node itself still counts.
    bool NodeNeeded(int node) const {
        const Node& n = nodes_[static_cast<std::size_t>(node)];
        return node == kRoot || Needed(n.parent, n.move);
    }

    // The move-th move of node decides it: a computer move that wins, a human move that refutes.
    void Decides(int node, int move) {
        LowerTo(nodes_[static_cast<std::size_t>(node)].firstDeciding, move);
    }
    // The node's result is known without searching any of its moves.
    void Known(int node) { Decides(node, -1); }

    // The first candidate found to win by force so far, or kColumns.
    int FirstWon() const { return nodes_.front().firstDeciding.load(std::memory_order_relaxed); }

  private:
    static void LowerTo(std::atomic<int>& value, int lower) {
        int now = value.load(std::memory_order_relaxed);
        while (lower < now && !value.compare_exchange_weak(now, lower, std::memory_order_relaxed)) {
        }
    }

    struct Node {
        Node(int parentNode, int moveOfParent) : parent(parentNode), move(moveOfParent) {}
        int parent;
        int move;  // its place among its parent's moves
        std::atomic<int> firstDeciding{kColumns};
    };

    std::optional<SteadyTime> deadline_;
    const std::atomic<bool>& stopAsked_;
    ThinkProgress* progress_;
    std::atomic<LevelEnd> end_{LevelEnd::Running};
    std::deque<Node> nodes_;  // a deque: a node, with its atomic, never moves
};

}  // namespace quorbel
