#include "ai/look_ahead.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <system_error>
#include <thread>

#include "ai/bitboard.h"
#include "ai/search.h"

namespace quorbel {

namespace {

// The CPU time the system has spent for the program: above all on setting up the fresh pages of a
// table that has grown.
double SystemSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;
}

// Times of a few milliseconds say too little: the next level is short enough to be tried in any
// case.
constexpr double kTooShortToTell = 0.002;

// The growth of the time per level from one completed level to a later one, as it was at the
// later one: over a level left out, the mean growth, less what the growth shrinks by from level to
// level (some 0.8 to 0.9 from level 7 on).
double GrowthPerLevel(const LevelTime& from, const LevelTime& to) {
    constexpr double kShrinkPerLevel = 0.85;
    const int levels = to.level - from.level;
    return std::pow(to.seconds / from.seconds, 1.0 / levels) *
           std::pow(kShrinkPerLevel, (levels - 1) / 2.0);
}

SteadyTime::duration ToDuration(double seconds) {
    return std::chrono::duration_cast<SteadyTime::duration>(std::chrono::duration<double>(seconds));
}

// Below this level a search takes less than starting a thread.
constexpr int kThreadsFromLevel = 4;

Verdict VerdictOf(const HumanReplies& replies) {
    return replies.lost ? Verdict::Lost : replies.won ? Verdict::Won : Verdict::None;
}

void LowerTo(std::atomic<int>& value, int lower) {
    int now = value.load();
    while (lower < now && !value.compare_exchange_weak(now, lower)) {
    }
}

// One level of the look-ahead over all candidates, split into work items: the computer's answers
// to one human reply to one candidate. Threads take the items in the list's order, so the lower
// candidates finish first; whoever finishes a candidate's last item combines its replies in their
// order, as searching the candidate whole would, and stops where a reply refutes it.
class LevelRun {
  public:
    LevelRun(const Position& root, const std::vector<int>& candidates, int level,
             TranspositionTable& table, LevelControl& control,
             const std::function<void(int)>& progress)
        : level_(level),
          table_(table),
          control_(control),
          progress_(progress),
          candidates_(candidates.size()),
          tracker_(static_cast<int>(candidates.size())) {
        progress_(tracker_.Value());
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            Plan(root, candidates[i], static_cast<int>(i));
        }
    }

    // One thread for each cache, at most one for each work item.
    void Run(const std::vector<LastAnswersCache*>& caches) {
        const int threads =
            std::min(static_cast<int>(caches.size()), static_cast<int>(items_.size()));
        std::vector<std::thread> helpers;
        try {
            for (int t = 1; t < threads; ++t) {
                helpers.emplace_back(
                    [this, &caches, t] { Work(*caches[static_cast<std::size_t>(t)]); });
            }
        } catch (const std::system_error&) {
            // Short of memory for another thread: the threads there are do all the work.
        }
        Work(*caches.front());
        for (std::thread& helper : helpers) {
            helper.join();
        }
    }

    // After a level that completed: the candidates in order up to and including the first forced
    // win.
    std::vector<CandidateReport> Examined() const {
        std::vector<CandidateReport> examined;
        const int last = std::min<int>(control_.firstWon, static_cast<int>(candidates_.size()) - 1);
        for (int i = 0; i <= last; ++i) {
            examined.push_back(*candidates_[static_cast<std::size_t>(i)].report);
        }
        return examined;
    }

    std::uint64_t nodes() const { return nodes_; }

  private:
    struct Candidate {
        int column = 0;
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

    // Settles the candidate at once where that is quick: at level 1, from the table, or when its
    // replies need no search; otherwise lists its work items.
    void Plan(const Position& root, int column, int index) {
        Candidate& c = candidates_[static_cast<std::size_t>(index)];
        c.column = column;
        c.position = root;
        c.position.Play(column, Side::Computer);
        if (level_ == 1) {
            HumanReplies replies;
            PackedLines lines = 0;
            replies.lost = EvaluateReplies(c.position, lines);
            AddPackedLines(replies.lines, lines);
            Settle(index, replies);
            return;
        }
        HumanReplies stored;
        if (table_.Probe(c.position.Key(), level_ - 1, stored)) {
            Settle(index, stored);
            return;
        }
        const std::uint64_t humanFours = c.position.FourCells(Side::Human);
        for (int col = 1; col <= kColumns && !c.fourAfterReplies; ++col) {
            if (c.position.IsOpen(col)) {
                c.fourAfterReplies = (humanFours & c.position.LandingBit(col)) != 0;
                if (!c.fourAfterReplies) {
                    c.replies.push_back(col);
                }
            }
        }
        const int count = static_cast<int>(c.replies.size());
        c.answers.resize(c.replies.size());
        c.itemsLeft = count;
        for (int reply = 0; reply < count; ++reply) {
            items_.push_back({index, reply});
        }
        if (count == 0) {
            Combine(index);
        }
    }

    void Work(LastAnswersCache& cache) {
        Search search(level_, table_, cache, control_);
        for (;;) {
            const std::size_t next = next_.fetch_add(1);
            if (next >= items_.size() || control_.timeUp) {
                break;
            }
            const Item item = items_[next];
            Candidate& c = candidates_[static_cast<std::size_t>(item.candidate)];
            std::optional<CompAnswers>& answers = c.answers[static_cast<std::size_t>(item.reply)];
            if (control_.Needed(item.candidate, item.reply)) {
                Position position = c.position;
                position.Play(c.replies[static_cast<std::size_t>(item.reply)], Side::Human);
                answers = search.AnswersAfterReply(position, item.candidate, item.reply);
                if (answers && answers->allLose) {
                    LowerTo(control_.firstRefutation[static_cast<std::size_t>(item.candidate)],
                            item.reply);
                }
            }
            if (c.itemsLeft.fetch_sub(1) == 1) {
                Combine(item.candidate);
            }
        }
        nodes_ += search.nodes();
    }

    // The candidate's replies in order, as the search of its replies takes them; nothing when
    // a needed one was cut short.
    void Combine(int index) {
        Candidate& c = candidates_[static_cast<std::size_t>(index)];
        HumanReplies replies;
        int winningReplies = 0;
        for (const std::optional<CompAnswers>& answers : c.answers) {
            if (!answers) {
                return;
            }
            AddTally(replies.lines, answers->lines);
            if (answers->allLose) {
                replies.lost = true;
                break;
            }
            winningReplies += answers->won ? 1 : 0;
        }
        if (!replies.lost && c.fourAfterReplies) {
            replies.lost = true;
        }
        replies.won = !replies.lost && winningReplies == static_cast<int>(c.replies.size()) &&
                      winningReplies != 0;
        table_.Store(c.position.Key(), level_ - 1, replies);
        Settle(index, replies);
    }

    void Settle(int index, const HumanReplies& replies) {
        Candidate& c = candidates_[static_cast<std::size_t>(index)];
        c.report = CandidateReport{c.column, VerdictOf(replies), replies.lines};
        if (replies.won) {
            LowerTo(control_.firstWon, index);
        }
        const std::lock_guard lock(progressLock_);
        if (tracker_.Finish(index) && tracker_.Value() <= control_.firstWon + 1 &&
            tracker_.Value() <= static_cast<int>(candidates_.size())) {
            progress_(tracker_.Value());
        }
    }

    int level_;
    TranspositionTable& table_;
    LevelControl& control_;
    const std::function<void(int)>& progress_;
    std::vector<Candidate> candidates_;
    std::vector<Item> items_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::uint64_t> nodes_{0};
    std::mutex progressLock_;
    CandidateProgress tracker_;
};

}  // namespace

CandidateProgress::CandidateProgress(int candidates)
    : finished_(static_cast<std::size_t>(candidates), false) {}

bool CandidateProgress::Finish(int index) {
    finished_[static_cast<std::size_t>(index)] = true;
    const int before = firstUnfinished_;
    while (firstUnfinished_ < static_cast<int>(finished_.size()) &&
           finished_[static_cast<std::size_t>(firstUnfinished_)]) {
        ++firstUnfinished_;
    }
    return firstUnfinished_ != before;
}

// Each level takes some 3 to 15 times as long as the level before it, the factor mostly shrinking
// as the levels deepen: the smaller of the last two factors tends to the long side by a little,
// which the damping turns round.
double EstimateNextLevelSeconds(const std::vector<LevelTime>& completed) {
    constexpr double kDamping = 0.8;
    const std::size_t n = completed.size();
    if (n < 3 || completed[n - 3].seconds < kTooShortToTell) {
        return 0;
    }
    const double growth = std::min(GrowthPerLevel(completed[n - 2], completed[n - 1]),
                                   GrowthPerLevel(completed[n - 3], completed[n - 2]));
    return kDamping * growth * completed[n - 1].seconds;
}

// From level 6 on the growth per level no longer rises (it swings below that), so the last growth
// taken twice over is a guess on the long side for the level after next; the next level, kept in
// reserve, is given a fifth more than the last growth promises: more than the growth rose in every
// search measured but a few of under a second.
LevelStep PlanNextLevel(const std::vector<LevelTime>& completed, int deepestLevel,
                        double secondsLeft) {
    constexpr int kLeapFromLevel = 6;
    constexpr double kReserveMargin = 1.2;
    constexpr double kShrinkingGrowth = 0.8;
    const std::size_t n = completed.size();
    const LevelTime& last = completed.back();
    if (last.level >= deepestLevel || EstimateNextLevelSeconds(completed) > secondsLeft) {
        return {};
    }
    if (last.level >= kLeapFromLevel && last.level + 2 <= deepestLevel && n >= 2 &&
        completed[n - 2].seconds >= kTooShortToTell) {
        const double growth = GrowthPerLevel(completed[n - 2], last);
        const double reserve = kReserveMargin * growth * last.seconds;
        const double afterNext = kShrinkingGrowth * growth * growth * last.seconds;
        if (reserve + afterNext <= secondsLeft) {
            return {last.level + 2, reserve};
        }
    }
    return {last.level + 1, 0};
}

LookAhead::LookAhead(int maxLog2TableEntries, int threads)
    : maxLog2TableEntries_(maxLog2TableEntries),
      threads_(threads > 0 ? threads
                           : std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {}

LookAhead::~LookAhead() = default;

LookAheadOutcome LookAhead::Run(const GameRecord& rec, const std::vector<int>& candidates,
                                int level, std::optional<SteadyTime> deadline,
                                const std::function<void(int)>& progress) {
    while (static_cast<int>(caches_.size()) < threads_) {
        caches_.push_back(std::make_unique<LastAnswersCache>());
    }
    const Position root = Position::FromWorkBoard(rec);
    LookAheadOutcome outcome;
    if (!deadline) {
        RunLevel(root, candidates, level, level, std::nullopt, progress, outcome);
        return outcome;
    }
    std::vector<LevelTime> completed;
    for (LevelStep step{1, 0}; step.level != 0;) {
        const SteadyTime until = *deadline - ToDuration(step.reserveSeconds);
        const std::optional<double> seconds =
            RunLevel(root, candidates, step.level, level, until, progress, outcome);
        if (!seconds) {
            // A level that leapt over the next one and has not completed in its share of the time
            // leaves the rest to that one.
            step =
                step.reserveSeconds > 0 && !stopped_ ? LevelStep{step.level - 1, 0} : LevelStep{};
            continue;
        }
        completed.push_back({step.level, *seconds});
        const double secondsLeft =
            std::chrono::duration<double>(*deadline - std::chrono::steady_clock::now()).count();
        step = stopped_ ? LevelStep{} : PlanNextLevel(completed, level, secondsLeft);
    }
    return outcome;
}

std::optional<double> LookAhead::RunLevel(const Position& root, const std::vector<int>& candidates,
                                          int current, int deepest, std::optional<SteadyTime> until,
                                          const std::function<void(int)>& progress,
                                          LookAheadOutcome& outcome) {
    const SteadyTime start = std::chrono::steady_clock::now();
    const double systemBefore = SystemSeconds();
    // The deeper levels of the move grow the table in place, on the pages already set up.
    table_.Allocate(std::min(maxLog2TableEntries_, TableLog2EntriesForLevel(current)),
                    std::min(maxLog2TableEntries_, TableLog2EntriesForLevel(deepest)));
    table_.StartLevel(current);
    // Level 1 takes no time worth limiting and gives the decision at the least.
    LevelControl control(current > 1 ? until : std::nullopt, &stopped_);
    LevelRun run(root, candidates, current, table_, control, progress);
    const int threads = current >= kThreadsFromLevel ? threads_ : 1;
    std::vector<LastAnswersCache*> caches(static_cast<std::size_t>(threads));
    std::transform(caches_.begin(), caches_.begin() + threads, caches.begin(),
                   [](const std::unique_ptr<LastAnswersCache>& cache) { return cache.get(); });
    run.Run(caches);
    outcome.nodes += run.nodes();
    if (control.timeUp) {
        return std::nullopt;
    }
    outcome.examined = run.Examined();
    outcome.completedLevel = current;
    // The search's own time: the pages a level sets up for the table are not set up again by the
    // next level, so the time they took must not grow with the levels in the estimate.
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double setUp = (SystemSeconds() - systemBefore) / threads;
    return std::max(elapsed - setUp, elapsed / 10);
}

}  // namespace quorbel
