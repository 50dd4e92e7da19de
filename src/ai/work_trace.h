#pragma once

// When each work item of a level ran and on which thread: what `quorbel-bench --trace` writes, to
// see how a level's work spreads over threads (docs/engine.md, "Threads").

#include <vector>

namespace quorbel {

struct ItemTime {
    int candidate = 0;   // the column of the candidate the item belongs to
    int thread = -1;     // from 0; -1 when the level ended before the item ran
    double startMs = 0;  // from the level's start
    // How long the thread spent on it, combining included, and page set-up left out as from the
    // level's search time (time_policy.h): on one thread the first items would take it all.
    double ms = 0;
};

struct LevelTrace {
    int level = 0;
    double searchMs = 0;          // the level's search time (SearchSeconds), planning included
    bool completed = false;       // not ended by the time limit or a stop
    std::vector<ItemTime> items;  // in the order of the level's list, which the threads take
};

}  // namespace quorbel
