#include "ai/look_ahead.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "ai/last_answers_cache.h"
#include "ai/level_run.h"
#include "ai/position.h"

namespace quorbel {

namespace {

// Below this level a search takes less than starting a thread.
constexpr int kThreadsFromLevel = 4;

}  // namespace

LookAhead::LookAhead(int maxLog2TableEntries, int threads)
    : maxLog2TableEntries_(maxLog2TableEntries),
      threads_(threads > 0 ? threads
                           : std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {}

LookAhead::~LookAhead() = default;

LookAheadOutcome LookAhead::Run(const GameRecord& rec, const std::vector<int>& candidates,
                                int level, std::optional<SteadyTime> deadline,
                                const std::function<void(double)>& progress) {
    while (static_cast<int>(caches_.size()) < threads_) {
        caches_.push_back(std::make_unique<LastAnswersCache>());
    }
    const Position root = Position::FromWorkBoard(rec);
    ThinkProgress bar(std::chrono::steady_clock::now(), deadline, progress);
    LookAheadOutcome outcome;
    LevelEnd end = LevelEnd::Running;
    if (!deadline) {
        bar.LevelBegins(std::chrono::steady_clock::now(), 0);
        RunLevel(root, candidates, level, level, std::nullopt, bar, outcome, end);
        bar.Finish();
        return outcome;
    }
    std::vector<LevelTime> completed;
    for (LevelStep step{1, 0, 0}; step.level != 0;) {
        const SteadyTime now = std::chrono::steady_clock::now();
        bar.LevelBegins(now,
                        PlannedSeconds(completed, step, level, SecondsBetween(now, *deadline)));
        const std::optional<double> seconds =
            RunLevel(root, candidates, step.level, level,
                     *deadline - SecondsAsDuration(step.reserveSeconds), bar, outcome, end);
        if (!seconds) {
            step = PlanAfterUnfinishedLevel(step, end);
            continue;
        }
        completed.push_back({step.level, *seconds});
        step = stopAsked_
                   ? LevelStep{}
                   : PlanNextLevel(completed, level,
                                   SecondsBetween(std::chrono::steady_clock::now(), *deadline));
    }
    bar.Finish();
    return outcome;
}

std::optional<double> LookAhead::RunLevel(const Position& root, const std::vector<int>& candidates,
                                          int current, int deepest, std::optional<SteadyTime> until,
                                          ThinkProgress& progress, LookAheadOutcome& outcome,
                                          LevelEnd& end) {
    const SteadyTime start = std::chrono::steady_clock::now();
    const double systemBefore = SystemSeconds();
    // The deeper levels of the move grow the table in place, on the pages already set up.
    table_.Allocate(std::min(maxLog2TableEntries_, TableLog2EntriesForLevel(current)),
                    std::min(maxLog2TableEntries_, TableLog2EntriesForLevel(deepest)));
    table_.StartLevel(current);
    // Level 1 takes no time worth limiting and gives the decision at the least.
    LevelControl control(current > 1 ? until : std::nullopt, stopAsked_, &progress);
    LevelRun run(root, candidates, current, table_, control);
    const int threads = current >= kThreadsFromLevel ? threads_ : 1;
    std::vector<LastAnswersCache*> caches(static_cast<std::size_t>(threads));
    std::transform(caches_.begin(), caches_.begin() + threads, caches.begin(),
                   [](const std::unique_ptr<LastAnswersCache>& cache) { return cache.get(); });
    LevelTrace* trace = trace_ != nullptr ? &trace_->emplace_back() : nullptr;
    run.Run(caches, trace != nullptr ? &trace->items : nullptr);
    outcome.nodes += run.nodes();
    end = control.End();
    const double seconds = SearchSeconds(SecondsBetween(start, std::chrono::steady_clock::now()),
                                         SystemSeconds() - systemBefore, threads);
    if (trace != nullptr) {
        trace->level = current;
        trace->searchMs = seconds * 1000;
        trace->completed = end == LevelEnd::Running;
    }
    if (end != LevelEnd::Running) {
        return std::nullopt;
    }
    outcome.examined = run.Examined();
    outcome.completedLevel = current;
    return seconds;
}

}  // namespace quorbel
