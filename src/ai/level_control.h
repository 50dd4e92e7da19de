#pragma once

// What the threads searching one level share besides the table: when the level must end, and which
// work no longer counts for its result.
//
// Three reasons cut work short, and they are kept apart because they mean different things:
// - the time is up: the level ends incomplete and the deepest level completed before decides;
// - a stop was asked for (the window is closing): the same, and no further level is begun;
// - the work no longer counts: a candidate before its candidate wins by force, or a reply before
//   its reply refutes the candidate. Searching candidates and replies in order would never have
//   reached it; the level goes on.
//
// Every field that changes during the level is an atomic read and written relaxed: each is a
// single value that only moves one way (the end from Running to a reason, the firsts downwards),
// and a thread that sees an old value merely does work that is thrown away a little later. The
// results of the work are handed over through the level run's counter of items left
// (level_run.cpp), not through these.

#include <array>
#include <atomic>
#include <chrono>
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
        for (std::atomic<int>& reply : firstRefutation_) {
            reply = kColumns;
        }
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

    // Whether the work on that reply (from 0, in order) to that candidate (from 0) still counts.
    bool Needed(int candidate, int reply) const {
        return candidate <= FirstWon() &&
               reply <= firstRefutation_[static_cast<std::size_t>(candidate)].load(
                            std::memory_order_relaxed);
    }

    // The first candidate found to win by force so far, or kColumns.
    int FirstWon() const { return firstWon_.load(std::memory_order_relaxed); }
    void CandidateWins(int candidate) { LowerTo(firstWon_, candidate); }
    void ReplyRefutes(int candidate, int reply) {
        LowerTo(firstRefutation_[static_cast<std::size_t>(candidate)], reply);
    }

  private:
    static void LowerTo(std::atomic<int>& value, int lower) {
        int now = value.load(std::memory_order_relaxed);
        while (lower < now && !value.compare_exchange_weak(now, lower, std::memory_order_relaxed)) {
        }
    }

    std::optional<SteadyTime> deadline_;
    const std::atomic<bool>& stopAsked_;
    ThinkProgress* progress_;
    std::atomic<LevelEnd> end_{LevelEnd::Running};
    std::atomic<int> firstWon_{kColumns};
    std::array<std::atomic<int>, kColumns> firstRefutation_{};
};

}  // namespace quorbel
