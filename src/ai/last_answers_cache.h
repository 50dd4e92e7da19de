#pragma once

// The results of the computer's answers at the last level, by position, for one thread: direct
// mapped and small enough to stay near the core. Such a position is often reached again soon by
// another order of moves. The results depend on the position only, so they hold across levels and
// moves; the cache is a thread's own, so it needs no care between threads.

#include <cstdint>
#include <vector>

#include "ai/evaluation.h"

namespace quorbel {

class LastAnswersCache {
  public:
    struct Entry {
        std::uint64_t key = 0;  // no position has the key 0
        PackedLines lines = 0;
        bool allLose = false;
        bool won = false;
    };

    Entry& EntryFor(std::uint64_t key) {
        return entries_[(key * 0x9E3779B97F4A7C15ULL) >> (64 - kBits)];
    }
    void Prefetch(std::uint64_t key) { __builtin_prefetch(&EntryFor(key), 1); }

  private:
    static constexpr int kBits = 16;  // 1 MiB
    std::vector<Entry> entries_ = std::vector<Entry>(std::size_t{1} << kBits);
};

}  // namespace quorbel
