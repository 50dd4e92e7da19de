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

// The open columns a search takes in turn, before the first where the mover makes four.
std::vector<int> ColumnsBefore(const ColumnsInOrder& order, const Position& position) {
    std::vector<int> columns;
    for (int col = 1; col < order.end; ++col) {
        if (position.IsOpen(col)) {
            columns.push_back(col);
        }
    }
    return columns;
}

// A computer move's replies from the answers to each, in order, as the search of its replies
// takes them: up to the first reply that refutes the move. Nothing when one of those was cut short.
std::optional<HumanReplies> RepliesInOrder(const std::vector<std::optional<CompAnswers>>& answers,
                                           bool fourAfterReplies) {
    HumanReplies replies;
    std::size_t winning = 0;
    for (const std::optional<CompAnswers>& reply : answers) {
        if (!reply) {
            return std::nullopt;
        }
        AddTally(replies.lines, reply->lines);
        if (reply->allLose) {
            replies.lost = true;
            return replies;
        }
        winning += reply->won ? 1 : 0;
    }
    replies.lost = fourAfterReplies;
    replies.won = !replies.lost && winning == answers.size() && winning != 0;
    return replies;
}

// A human reply's answers from the replies to each, in order, as the search of its answers takes
// them: up to the first answer that wins. Nothing when one of those was cut short.
std::optional<CompAnswers> AnswersInOrder(const std::vector<std::optional<HumanReplies>>& replies,
                                          bool fourAfterAnswers) {
    CompAnswers answers;
    std::size_t lost = 0;
    for (const std::optional<HumanReplies>& answer : replies) {
        if (!answer) {
            return std::nullopt;
        }
        AddTally(answers.lines, answer->lines);
        if (answer->won) {
            answers.won = true;
            return answers;
        }
        lost += answer->lost ? 1 : 0;
    }
    answers.won = fourAfterAnswers;
    answers.allLose = !answers.won && lost == replies.size() && lost != 0;
    return answers;
}

double MillisecondsBetween(SteadyTime from, SteadyTime to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

// How the threads hand over results. The moves, the split replies and items_ are planned before
// the threads start, and what the threads read of them (positions, replies, places) never changes.
// Every result has one writer: an item's answers the thread that took the item (next_'s fetch_add
// hands each item to one thread), an answer's reached and known the thread of its first item, a
// combined answer's replies and a combined split reply's answers the thread that combined them.
// Each writer then counts down what waits for its result: the move's itemsLeft, the split reply's
// answersLeft, the candidate's itemsLeft. The thread whose count takes one to 0 combines it and in
// turn counts down the next one up (an answer, its split reply, the candidate). fetch_sub's default
// ordering (acquire and release) makes every write before a count visible to the thread that
// counts to 0, and along the chain to every combination above. The reports are read after the
// threads have joined.
LevelRun::LevelRun(const Position& root, const std::vector<int>& candidates, int level,
                   TranspositionTable& table, LevelControl& control)
    : level_(level),
      table_(table),
      control_(control),
      candidates_(static_cast<int>(candidates.size())),
      moves_(candidates.size()),
      reports_(candidates.size()) {
    for (int i = 0; i < candidates_; ++i) {
        Plan(root, candidates[static_cast<std::size_t>(i)], i);
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
    const int last = std::min(control_.FirstWon(), candidates_ - 1);
    for (int i = 0; i <= last; ++i) {
        const std::optional<CandidateReport>& report = reports_[static_cast<std::size_t>(i)];
        // Every item of these candidates was needed, so each has been combined.
        assert(report.has_value());
        examined.push_back(*report);
    }
    return examined;
}

// Settles the candidate at once where that is quick: at level 1, from the table, or when its
// replies need no search; otherwise lists its work.
void LevelRun::Plan(const Position& root, int column, int index) {
    Move& c = moves_[static_cast<std::size_t>(index)];
    c.column = column;
    c.candidate = index;
    c.place = index;
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
    PlanReplies(index);
    if (c.replies.empty()) {
        CombineMove(index);
    }
}

// Lists the move's replies, and for each the items that search its answers: one, or where the
// move's replies are split (SplitsRepliesOf), those of each answer. An answer without replies to
// search gets one item, which only reaches it.
void LevelRun::PlanReplies(int index) {
    Move& move = moves_[static_cast<std::size_t>(index)];
    const ColumnsInOrder order =
        ColumnsUntilFour(move.position.LandingCells(), move.position.FourCells(Side::Human));
    move.replies = ColumnsBefore(order, move.position);
    move.fourAfterReplies = order.EndsInFour();
    const int count = static_cast<int>(move.replies.size());
    move.answers.resize(move.replies.size());
    move.itemsLeft = move.split >= 0 ? std::max(count, 1) : count;
    for (int reply = 0; reply < count; ++reply) {
        if (!SplitsRepliesOf(move) || !PlanSplit(index, reply)) {
            items_.push_back({index, reply});
        }
    }
    if (count == 0 && move.split >= 0) {
        items_.push_back({index, 0});
    }
}

// Whether the answers to the move's replies are moves of their own: from kSplitFromLevel on, a
// candidate's, and those of each candidate's first answer to its first reply. The replies to that
// answer are searched first, while the table holds little of this level, and were the largest
// items of a level (docs/engine.md, "Threads").
bool LevelRun::SplitsRepliesOf(const Move& move) const {
    if (level_ < kSplitFromLevel) {
        return false;
    }
    return move.depth == 1 || (move.depth == 2 && move.place == 0 &&
                               splits_[static_cast<std::size_t>(move.split)].reply == 0);
}

// Lists the answers to the move's reply-th reply as moves of their own; false when there is no
// answer to search, and so nothing to split.
bool LevelRun::PlanSplit(int index, int reply) {
    const Move& move = moves_[static_cast<std::size_t>(index)];
    Position afterReply = move.position;
    afterReply.Play(move.replies[static_cast<std::size_t>(reply)], Side::Human);
    const ColumnsInOrder order =
        ColumnsUntilFour(afterReply.LandingCells(), afterReply.FourCells(Side::Computer));
    const std::vector<int> answers = ColumnsBefore(order, afterReply);
    if (answers.empty()) {
        return false;
    }
    const int splitIndex = static_cast<int>(splits_.size());
    SplitReply& split = splits_.emplace_back();
    split.move = index;
    split.reply = reply;
    split.control = control_.AddNode(move.control, reply);
    split.fourAfterAnswers = order.EndsInFour();
    split.replies.resize(answers.size());
    split.answersLeft = static_cast<int>(answers.size());
    for (std::size_t place = 0; place < answers.size(); ++place) {
        const int answerIndex = static_cast<int>(moves_.size());
        Move& answer = moves_.emplace_back();
        answer.column = answers[place];
        answer.depth = move.depth + 1;
        answer.candidate = move.candidate;
        answer.split = splitIndex;
        answer.place = static_cast<int>(place);
        answer.control = control_.AddNode(split.control, answer.place);
        answer.position = afterReply;
        answer.position.Play(answer.column, Side::Computer);
        PlanReplies(answerIndex);
    }
    return true;
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
    const double ms = MillisecondsBetween(start, std::chrono::steady_clock::now());
    const int candidate = moves_[static_cast<std::size_t>(item.move)].candidate;
    // The kernel splits a thread's time into user and system time in steps of its clock tick, so
    // a short item can be given more system time than it took at all.
    return {moves_[static_cast<std::size_t>(candidate)].column, thread,
            MillisecondsBetween(start_, start), std::max(0.0, ms - pageSetUpMs)};
}

void LevelRun::Do(const Item& item, Search& search) {
    Move& move = moves_[static_cast<std::size_t>(item.move)];
    if (control_.Needed(move.control, item.reply)) {
        search.BeginItem(move.control, item.reply);
        const bool reachesAnswer = move.split >= 0 && item.reply == 0;
        const bool known = reachesAnswer && Reach(item.move, search);
        if (!known && item.reply < static_cast<int>(move.replies.size())) {
            Position position = move.position;
            position.Play(move.replies[static_cast<std::size_t>(item.reply)], Side::Human);
            std::optional<CompAnswers>& answers =
                move.answers[static_cast<std::size_t>(item.reply)];
            answers = search.AnswersAfterReply(position, move.depth + 1);
            if (answers && answers->allLose) {
                control_.Decides(move.control, item.reply);
            }
        }
    }
    ItemDone(item.move);
}

// The answer's first item reaches it as the search of its split reply would: first the move that
// reply belongs to, when this item is that move's first as well (a candidate was reached when the
// level was planned); then counts the split reply's search with the first answer, and the
// answer's own search of its replies, which the table may give. Whether the table gave this answer
// or a move above it.
bool LevelRun::Reach(int index, Search& search) {
    Move& answer = moves_[static_cast<std::size_t>(index)];
    const SplitReply& split = splits_[static_cast<std::size_t>(answer.split)];
    const bool firstOfAbove = answer.place == 0 && split.reply == 0;
    if (firstOfAbove && moves_[static_cast<std::size_t>(split.move)].split >= 0 &&
        Reach(split.move, search)) {
        return true;
    }
    if (answer.place == 0) {
        search.CountSplitSearch();
    }
    search.CountSplitSearch();
    answer.reached = true;
    HumanReplies stored;
    if (!table_.Probe(answer.position.Key(), level_ - answer.depth, stored)) {
        return false;
    }
    answer.known = stored;
    control_.Known(answer.control);
    return true;
}

void LevelRun::ItemDone(int move) {
    if (moves_[static_cast<std::size_t>(move)].itemsLeft.fetch_sub(1) == 1) {
        CombineMove(move);
    }
}

// The move's replies in order; then what waits for them: the candidate's report, or the answers
// of the split reply the move answers.
void LevelRun::CombineMove(int index) {
    Move& move = moves_[static_cast<std::size_t>(index)];
    std::optional<HumanReplies> replies = move.known;
    // An answer never reached is not searched, even when it has no replies to search.
    if (!replies && (move.split < 0 || move.reached)) {
        replies = RepliesInOrder(move.answers, move.fourAfterReplies);
        if (replies) {
            table_.Store(move.position.Key(), level_ - move.depth, *replies);
        }
    }
    // Cut short only when the level has ended or a move above this one decided without it.
    assert(replies || control_.End() != LevelEnd::Running || !control_.NodeNeeded(move.control));
    if (move.split < 0) {
        if (replies) {
            Settle(index, *replies);
        }
        return;
    }
    SplitReply& split = splits_[static_cast<std::size_t>(move.split)];
    split.replies[static_cast<std::size_t>(move.place)] = replies;
    if (replies && replies->won) {
        control_.Decides(split.control, move.place);
    }
    if (split.answersLeft.fetch_sub(1) == 1) {
        CombineSplit(move.split);
    }
}

void LevelRun::CombineSplit(int index) {
    const SplitReply& split = splits_[static_cast<std::size_t>(index)];
    const std::optional<CompAnswers> answers =
        AnswersInOrder(split.replies, split.fourAfterAnswers);
    assert(answers || control_.End() != LevelEnd::Running || !control_.NodeNeeded(split.control));
    Move& move = moves_[static_cast<std::size_t>(split.move)];
    move.answers[static_cast<std::size_t>(split.reply)] = answers;
    if (answers && answers->allLose) {
        control_.Decides(move.control, split.reply);
    }
    ItemDone(split.move);
}

void LevelRun::Settle(int index, const HumanReplies& replies) {
    reports_[static_cast<std::size_t>(index)] = CandidateReport{
        moves_[static_cast<std::size_t>(index)].column, VerdictOf(replies), replies.lines};
    if (replies.won) {
        control_.Decides(LevelControl::kRoot, index);
    }
}

}  // namespace quorbel
