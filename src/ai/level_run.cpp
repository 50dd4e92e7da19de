#include "ai/level_run.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <system_error>
#include <thread>

#include "ai/evaluation.h"
#include "ai/move_order.h"
#include "ai/search.h"

namespace quorbel {

namespace {

Verdict VerdictOf(const HumanReplies& replies) {
    return replies.lost ? Verdict::Lost : replies.won ? Verdict::Won : Verdict::None;
}

double MillisecondsBetween(SteadyTime from, SteadyTime to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

// How the threads hand over results. items_ and each candidate's position and replies are written
// before the threads start and only read by them. A thread writes the answers of the items it takes
// (each item is taken by one thread, by next_'s fetch_add) and then counts its candidate's
// itemsLeft down; the thread whose count takes it to 0 combines the candidate and writes its
// report. fetch_sub's default ordering (acquire and release) makes every answer written before a
// count visible to the thread that counts to 0. Reports are read after the threads have joined.
LevelRun::LevelRun(const Position& root, const std::vector<int>& candidates, int level,
                   TranspositionTable& table, LevelControl& control)
    : level_(level), table_(table), control_(control), candidates_(candidates.size()) {
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        Plan(root, candidates[i], static_cast<int>(i));
    }
}

void LevelRun::Run(const std::vector<LastAnswersCache*>& caches, std::vector<ItemTime>* times) {
    if (times != nullptr) {
        times->assign(items_.size(), ItemTime{});
    }
    start_ = std::chrono::steady_clock::now();
    const int threads = std::min(static_cast<int>(caches.size()), static_cast<int>(items_.size()));
    std::vector<std::thread> helpers;
    try {
        for (int t = 1; t < threads; ++t) {
            helpers.emplace_back([this, &caches, t, times] {
                Work(*caches[static_cast<std::size_t>(t)], t, times);
            });
        }
    } catch (const std::system_error&) {
        // Short of memory for another thread: the threads there are do all the work.
    }
    Work(*caches.front(), 0, times);
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

std::vector<CandidateReport> LevelRun::Examined() const {
    std::vector<CandidateReport> examined;
    const int last = std::min(control_.FirstWon(), static_cast<int>(candidates_.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        const std::optional<CandidateReport>& report =
            candidates_[static_cast<std::size_t>(i)].report;
        // Every item of these candidates was needed, so each has been combined.
        assert(report.has_value());
        examined.push_back(*report);
    }
    return examined;
}

// Settles the candidate at once where that is quick: at level 1, from the table, or when its
// replies need no search; otherwise lists its work items.
void LevelRun::Plan(const Position& root, int column, int index) {
    Candidate& c = candidates_[static_cast<std::size_t>(index)];
    c.column = column;
    c.control = control_.AddNode(LevelControl::kRoot, index);
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
    const ColumnsInOrder order =
        ColumnsUntilFour(c.position.LandingCells(), c.position.FourCells(Side::Human));
    for (int reply = 1; reply < order.end; ++reply) {
        if (c.position.IsOpen(reply)) {
            c.replies.push_back(reply);
        }
    }
    c.fourAfterReplies = order.EndsInFour();
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

void LevelRun::Work(LastAnswersCache& cache, int thread, std::vector<ItemTime>* times) {
    Search search(level_, table_, cache, control_);
    for (;;) {
        const std::size_t next = next_.fetch_add(1);
        if (next >= items_.size() || control_.End() != LevelEnd::Running) {
            break;
        }
        if (times == nullptr) {
            Do(items_[next], search);
        } else {
            (*times)[next] = TimedDo(items_[next], search, thread);
        }
    }
    nodes_ += search.nodes();
}

ItemTime LevelRun::TimedDo(const Item& item, Search& search, int thread) {
    const SteadyTime start = std::chrono::steady_clock::now();
    const double systemBefore = SystemSeconds(RUSAGE_THREAD);
    Do(item, search);
    const double pageSetUpMs = (SystemSeconds(RUSAGE_THREAD) - systemBefore) * 1000;
    return {candidates_[static_cast<std::size_t>(item.candidate)].column, thread,
            MillisecondsBetween(start_, start),
            MillisecondsBetween(start, std::chrono::steady_clock::now()) - pageSetUpMs};
}

void LevelRun::Do(const Item& item, Search& search) {
    Candidate& c = candidates_[static_cast<std::size_t>(item.candidate)];
    std::optional<CompAnswers>& answers = c.answers[static_cast<std::size_t>(item.reply)];
    if (control_.Needed(c.control, item.reply)) {
        search.BeginItem(c.control, item.reply);
        Position position = c.position;
        position.Play(c.replies[static_cast<std::size_t>(item.reply)], Side::Human);
        answers = search.AnswersAfterReply(position, 2);
        if (answers && answers->allLose) {
            control_.Decides(c.control, item.reply);
        }
    }
    if (c.itemsLeft.fetch_sub(1) == 1) {
        Combine(item.candidate);
    }
}

// The candidate's replies in order, as the search of its replies takes them.
void LevelRun::Combine(int index) {
    Candidate& c = candidates_[static_cast<std::size_t>(index)];
    HumanReplies replies;
    int winningReplies = 0;
    for (const std::optional<CompAnswers>& answers : c.answers) {
        if (!answers) {
            // Cut short: the level has ended, or a candidate before this one wins by force, so
            // that this one is not examined at this level.
            assert(control_.End() != LevelEnd::Running || index > control_.FirstWon());
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

void LevelRun::Settle(int index, const HumanReplies& replies) {
    Candidate& c = candidates_[static_cast<std::size_t>(index)];
    c.report = CandidateReport{c.column, VerdictOf(replies), replies.lines};
    if (replies.won) {
        control_.Decides(LevelControl::kRoot, index);
    }
}

}  // namespace quorbel
