#include "ai/look_ahead.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <thread>

#include "ai/bitboard.h"
#include "ai/line_scans.h"

namespace quorbel {

namespace {

// Everything a search of the computer's answers hands back to its caller.
struct CompAnswers {
    bool allLose = false;  // there is an answer and every one is a forced loss
    bool won = false;      // an answer makes four or wins by force
    LineTally lines;
};

// What the threads of one level share.
struct LevelControl {
    std::optional<SteadyTime> deadline;
    std::atomic<bool> timeUp{false};
    std::atomic<int> firstWon{0};  // index of the first candidate found to win by force
};

// Room for some eight times what a search at the level stores; each level stores some eight to ten
// times what the level below it stores.
int TableBitsForLevel(int level) {
    return 3 * level + 4;
}

// Below this level a search takes less than starting a thread.
constexpr int kThreadsFromLevel = 4;
// How many searches pass between two looks at the clock and at the other threads.
constexpr std::uint64_t kCheckInterval = 1024;

// One thread's look-ahead: the recursion of the human's replies and the computer's answers down to
// the level, and the evaluation at the horizon. Each search works on its own copy of the board.
class Search {
  public:
    Search(const Position& root, int level, TranspositionTable& table, LevelControl& control)
        : root_(root), pos_(root), level_(level), table_(table), control_(control) {}

    // The look-ahead on the candidate with this index in the list; nothing when it was cut short
    // by the deadline or by an earlier candidate's forced win.
    std::optional<CandidateReport> Examine(int column, int index) {
        index_ = index;
        aborted_ = false;
        pos_ = root_;
        pos_.Play(column, Side::Computer);
        const HumanReplies replies = SearchHumanMoves(1);
        if (aborted_) {
            return std::nullopt;
        }
        const Verdict verdict = replies.lost  ? Verdict::Lost
                                : replies.won ? Verdict::Won
                                              : Verdict::None;
        return CandidateReport{column, verdict, replies.lines};
    }

    std::uint64_t nodes() const { return nodes_; }

  private:
    // The human replies to the computer stone on top; columns from 1 to 7, the first refutation
    // ends the search.
    HumanReplies SearchHumanMoves(int depth) {
        CountSearch();
        HumanReplies replies;
        if (aborted_) {
            return replies;
        }
        const int levelsLeft = level_ - depth;
        // Only at level 1: below the candidates the last level's replies are evaluated together
        // with the computer's answers they reply to (LastAnswers).
        if (levelsLeft == 0) {
            return RepliesAtHorizon();
        }
        const std::uint64_t key = pos_.Key();
        if (table_.Probe(key, levelsLeft, replies)) {
            return replies;
        }
        replies = RepliesAnswered(depth);
        if (!aborted_) {
            table_.Store(key, levelsLeft, replies);
        }
        return replies;
    }

    HumanReplies RepliesAtHorizon() {
        HumanReplies replies;
        PackedLines lines = 0;
        replies.lost = replies.humanWon = EvaluateReplies(lines);
        AddPackedLines(replies.lines, lines);
        return replies;
    }

    // Below the horizon every reply that makes no four is answered by the computer one level
    // deeper.
    HumanReplies RepliesAnswered(int depth) {
        HumanReplies replies;
        const std::uint64_t humanFours = pos_.FourCells(Side::Human);
        int openReplies = 0;
        int winningReplies = 0;
        for (int col = 1; col <= kColumns; ++col) {
            if (!pos_.IsOpen(col)) {
                continue;
            }
            ++openReplies;
            if ((humanFours & pos_.LandingBit(col)) != 0) {
                replies.lost = replies.humanWon = true;
                return replies;
            }
            pos_.Play(col, Side::Human);
            const CompAnswers answers =
                depth + 1 == level_ ? LastAnswers() : SearchCompMoves(depth + 1);
            pos_.Take(col);
            if (aborted_) {
                return replies;
            }
            AddTally(replies.lines, answers.lines);
            if (answers.allLose) {
                replies.lost = true;
                return replies;
            }
            winningReplies += answers.won ? 1 : 0;
        }
        replies.won = winningReplies == openReplies && openReplies != 0;
        return replies;
    }

    // The computer's answers to the human stone on top; the first four or forced win ends it.
    CompAnswers SearchCompMoves(int depth) {
        CountSearch();
        CompAnswers answers;
        if (aborted_) {
            return answers;
        }
        // The replies to every answer are looked up in the table: start loading them all at once.
        const int levelsLeft = level_ - depth;
        for (int col = 1; col <= kColumns; ++col) {
            if (pos_.IsOpen(col)) {
                table_.Prefetch(pos_.KeyAfterComputerIn(col), levelsLeft);
            }
        }
        const std::uint64_t computerFours = pos_.FourCells(Side::Computer);
        int tried = 0;
        int lost = 0;
        for (int col = 1; col <= kColumns; ++col) {
            if (!pos_.IsOpen(col)) {
                continue;
            }
            ++tried;
            if ((computerFours & pos_.LandingBit(col)) != 0) {
                answers.won = true;
                return answers;
            }
            pos_.Play(col, Side::Computer);
            const HumanReplies replies = SearchHumanMoves(depth);
            pos_.Take(col);
            if (aborted_) {
                return answers;
            }
            AddTally(answers.lines, replies.lines);
            lost += replies.lost ? 1 : 0;
            if (replies.won) {
                answers.won = true;
                return answers;
            }
        }
        answers.allLose = lost == tried && tried != 0;
        return answers;
    }

    // The computer's answers at the last level and the human's replies to each, which the
    // evaluation scores. Unless a reply makes four and ends the replies, an answer's replies
    // record what all replies record together, which the position's line codes tell at once.
    CompAnswers LastAnswers() {
        CountSearch();
        CompAnswers answers;
        if (aborted_) {
            return answers;
        }
        const std::uint64_t computerFours = pos_.FourCells(Side::Computer);
        const std::uint64_t humanFours = pos_.FourCells(Side::Human);
        const std::uint64_t landing = pos_.LandingCells();
        const PackedLines linesNow = pos_.LinesOfAllReplies();
        PackedLines lines = 0;
        int tried = 0;
        int lost = 0;
        for (int col = 1; col <= kColumns; ++col) {
            if (!pos_.IsOpen(col)) {
                continue;
            }
            ++tried;
            const std::uint64_t stone = pos_.LandingBit(col);
            if ((computerFours & stone) != 0) {
                answers.won = true;
                break;
            }
            CountSearch();
            // The replies land where they did, but on top of the answer instead of in its cell.
            if ((humanFours & (landing ^ stone ^ (stone << 1))) == 0) {
                lines += pos_.LinesOfAllRepliesAfterComputerIn(col, linesNow);
                continue;
            }
            pos_.Play(col, Side::Computer);
            lost += EvaluateReplies(lines) ? 1 : 0;
            pos_.Take(col);
        }
        AddPackedLines(answers.lines, lines);
        answers.allLose = !answers.won && lost == tried && tried != 0;
        return answers;
    }

    // The evaluation of every reply of the human in turn, until one makes four; true if one does.
    bool EvaluateReplies(PackedLines& lines) const {
        for (int col = 1; col <= kColumns; ++col) {
            if (pos_.IsOpen(col) && AnalyseEnemyCol(pos_.ScansOfHumanStoneIn(col), lines)) {
                return true;
            }
        }
        return false;
    }

    // A human stone at the horizon, given the results of its four scans: counts its lines and
    // tells whether it makes four. The stone is only looked at, never placed, so there is nothing
    // to take back.
    static bool AnalyseEnemyCol(int scans, PackedLines& lines) {
        const StoneLines& found = kStoneLines[static_cast<std::size_t>(scans)];
        lines += found.packed;
        return found.four;
    }

    static void AddPackedLines(LineTally& to, PackedLines from) {
        for (int n = 2; n <= 4; ++n) {
            to[n] += UnpackLines(from, n);
        }
    }

    void CountSearch() {
        if (++nodes_ % kCheckInterval != 0) {
            return;
        }
        if (control_.timeUp.load(std::memory_order_relaxed) ||
            control_.firstWon.load(std::memory_order_relaxed) < index_) {
            aborted_ = true;
        } else if (control_.deadline && std::chrono::steady_clock::now() >= *control_.deadline) {
            control_.timeUp.store(true, std::memory_order_relaxed);
            aborted_ = true;
        }
    }

    const Position& root_;
    Position pos_;
    int level_;
    TranspositionTable& table_;
    LevelControl& control_;
    int index_ = 0;
    bool aborted_ = false;
    std::uint64_t nodes_ = 0;
};

}  // namespace

LookAhead::LookAhead(int maxLog2TableEntries, int threads)
    : maxLog2TableEntries_(maxLog2TableEntries),
      threads_(threads > 0 ? threads
                           : std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {}

LookAheadOutcome LookAhead::Run(const GameRecord& rec, const std::vector<int>& candidates,
                                int level, std::optional<SteadyTime> deadline,
                                const std::function<void(int)>& progress) {
    table_.Allocate(std::min(maxLog2TableEntries_, TableBitsForLevel(level)));
    const Position root = Position::FromWorkBoard(rec);
    LookAheadOutcome outcome;
    const int firstLevel = deadline ? 1 : level;
    for (int current = firstLevel; current <= level; ++current) {
        const bool limited = deadline && current > 1;
        if (!RunLevel(root, candidates, current, limited ? deadline : std::nullopt, progress,
                      outcome)) {
            break;
        }
        outcome.completedLevel = current;
    }
    return outcome;
}

bool LookAhead::RunLevel(const Position& root, const std::vector<int>& candidates, int level,
                         std::optional<SteadyTime> deadline,
                         const std::function<void(int)>& progress, LookAheadOutcome& outcome) {
    const int count = static_cast<int>(candidates.size());
    LevelControl control;
    control.deadline = deadline;
    control.firstWon = count;
    std::vector<std::optional<CandidateReport>> found(candidates.size());
    std::atomic<int> next{0};
    std::atomic<std::uint64_t> nodes{0};
    std::mutex progressLock;
    int begun = 0;

    const auto work = [&] {
        Search search(root, level, table_, control);
        for (;;) {
            const int i = next.fetch_add(1);
            if (i >= count || i > control.firstWon.load()) {
                break;
            }
            {
                const std::lock_guard lock(progressLock);
                progress(++begun);
            }
            std::optional<CandidateReport> report =
                search.Examine(candidates[static_cast<std::size_t>(i)], i);
            if (report) {
                if (report->verdict == Verdict::Won) {
                    int first = control.firstWon.load();
                    while (i < first && !control.firstWon.compare_exchange_weak(first, i)) {
                    }
                }
                found[static_cast<std::size_t>(i)] = report;
            } else if (control.timeUp) {
                break;
            }
        }
        nodes += search.nodes();
    };

    std::vector<std::thread> helpers;
    const int threads = level >= kThreadsFromLevel ? std::min(threads_, count) : 1;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }

    outcome.nodes += nodes;
    if (control.timeUp) {
        return false;
    }
    outcome.examined.clear();
    const int last = std::min(control.firstWon.load(), count - 1);
    for (int i = 0; i <= last; ++i) {
        outcome.examined.push_back(*found[static_cast<std::size_t>(i)]);
    }
    return true;
}

}  // namespace quorbel
