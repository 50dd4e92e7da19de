#pragma once

// One thread's part of the forced-win look-ahead: the recursion of the human's replies and the
// computer's answers down to the level, on its own copy of the board, with the transposition table
// that all threads share, and the evaluation at the horizon.

#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "ai/bitboard.h"
#include "ai/line_scans.h"
#include "ai/move_report.h"
#include "ai/search_results.h"
#include "ai/transposition_table.h"

namespace quorbel {

using SteadyTime = std::chrono::steady_clock::time_point;

// What the threads of one level share: when to give up, and which work is no longer needed.
struct LevelControl {
    std::optional<SteadyTime> deadline;
    const std::atomic<bool>* stop = nullptr;  // with a deadline: give up at once when set
    std::atomic<bool> timeUp{false};
    std::atomic<int> firstWon{kColumns};  // the first candidate found to win by force
    // By candidate: the first of its replies (in order) found to refute it.
    std::array<std::atomic<int>, kColumns> firstRefutation{};

    LevelControl(std::optional<SteadyTime> until, const std::atomic<bool>* stopFlag)
        : deadline(until), stop(stopFlag) {
        for (std::atomic<int>& reply : firstRefutation) {
            reply = kColumns;
        }
    }

    // Whether the work on that reply to that candidate still counts.
    bool Needed(int candidate, int reply) const {
        return !timeUp.load(std::memory_order_relaxed) &&
               candidate <= firstWon.load(std::memory_order_relaxed) &&
               reply <= firstRefutation[static_cast<std::size_t>(candidate)].load(
                            std::memory_order_relaxed);
    }

    // Looks at the clock and the stop request; true once the time is up.
    bool CheckTime() {
        if (deadline && ((stop != nullptr && stop->load(std::memory_order_relaxed)) ||
                         std::chrono::steady_clock::now() >= *deadline)) {
            timeUp.store(true, std::memory_order_relaxed);
        }
        return timeUp.load(std::memory_order_relaxed);
    }
};

// The evaluation of every reply of the human in turn, until one makes four; true if one does.
inline bool EvaluateReplies(const Position& pos, PackedLines& lines) {
    for (int col = 1; col <= kColumns; ++col) {
        if (!pos.IsOpen(col)) {
            continue;
        }
        // A human stone at the horizon: only looked at, never placed, so nothing to take back.
        const StoneLines& found =
            kStoneLines[static_cast<std::size_t>(pos.ScansOfHumanStoneIn(col))];
        lines += found.packed;
        if (found.four) {
            return true;
        }
    }
    return false;
}

inline void AddPackedLines(LineTally& to, PackedLines from) {
    for (int n = 2; n <= 4; ++n) {
        to[n] += UnpackLines(from, n);
    }
}

// The results of the computer's answers at the last level, by position, for one thread: direct
// mapped and small enough to stay near the core. The results depend on the position only, so they
// hold across levels and moves.
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

class Search {
  public:
    Search(int level, TranspositionTable& table, LastAnswersCache& cache, LevelControl& control)
        : level_(level), table_(table), cache_(cache), control_(control) {}

    // The computer's answers at depth 2 on position, which holds a candidate and a human reply to
    // it (the reply-th of that candidate's replies in order); nothing when the work was cut short
    // by the time limit or no longer counts.
    std::optional<CompAnswers> AnswersAfterReply(const Position& position, int candidate,
                                                 int reply) {
        candidate_ = candidate;
        reply_ = reply;
        aborted_ = false;
        pos_ = position;
        if (level_ > 2) {
            PrefetchRepliesToEveryAnswer(level_ - 2);
        }
        const CompAnswers answers = level_ == 2 ? LastAnswersOnTheBoard() : SearchCompMoves(2);
        return aborted_ ? std::nullopt : std::optional(answers);
    }

    std::uint64_t nodes() const { return nodes_; }

  private:
    // The human replies after a computer stone dropped into col at depth 2 or deeper (the
    // candidates' own replies are the level's work items); columns from 1 to 7, the first
    // refutation ends the search. A result found in the table needs no stone on the board.
    HumanReplies SearchHumanMovesAfterComputerIn(int col, int depth) {
        CountSearch();
        HumanReplies replies;
        if (aborted_) {
            return replies;
        }
        const int levelsLeft = level_ - depth;
        const std::uint64_t key = pos_.KeyAfterComputerIn(col);
        if (table_.Probe(key, levelsLeft, replies)) {
            return replies;
        }
        pos_.Play(col, Side::Computer);
        replies = RepliesAnswered(depth);
        pos_.Take(col, Side::Computer);
        if (!aborted_) {
            table_.Store(key, levelsLeft, replies);
        }
        return replies;
    }

    // Below the horizon every reply that makes no four is answered by the computer one level
    // deeper.
    HumanReplies RepliesAnswered(int depth) {
        HumanReplies replies;
        const std::uint64_t humanFours = pos_.FourCells(Side::Human);
        const bool lastAnswersNext = depth + 1 == level_;
        // A human stone takes from the computer's fours no more than its own cell.
        const std::uint64_t computerFours = lastAnswersNext ? pos_.FourCells(Side::Computer) : 0;
        if (lastAnswersNext) {
            for (int col = 1; col <= kColumns && !MakesFour(humanFours, col); ++col) {
                if (pos_.IsOpen(col)) {
                    cache_.Prefetch(pos_.KeyAfterHumanIn(col));
                }
            }
        } else {
            PrefetchRepliesToEveryReplyAndAnswer(level_ - depth - 1, humanFours);
        }
        int openReplies = 0;
        int winningReplies = 0;
        for (int col = 1; col <= kColumns; ++col) {
            if (!pos_.IsOpen(col)) {
                continue;
            }
            ++openReplies;
            if ((humanFours & pos_.LandingBit(col)) != 0) {
                replies.lost = true;
                return replies;
            }
            const CompAnswers answers =
                lastAnswersNext
                    ? LastAnswersAfterHumanIn(col, computerFours & ~pos_.LandingBit(col))
                    : CompMovesAfterHumanIn(col, depth + 1);
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

    // Whether a stone dropped into col lands in one of fours (the cells where it makes four).
    bool MakesFour(std::uint64_t fours, int col) const {
        return pos_.IsOpen(col) && (fours & pos_.LandingBit(col)) != 0;
    }

    // The replies to every answer of the computer are looked up in the table, with levelsLeft
    // below them: start loading them all at once, before the answers are searched. An answer that
    // makes four ends the answers, so nothing past it is loaded.
    void PrefetchRepliesToEveryAnswer(int levelsLeft) const {
        const std::uint64_t computerFours = pos_.FourCells(Side::Computer);
        for (int answer = 1; answer <= kColumns && !MakesFour(computerFours, answer); ++answer) {
            if (pos_.IsOpen(answer)) {
                table_.Prefetch(pos_.KeyAfterComputerIn(answer), levelsLeft);
            }
        }
    }

    // The same after every reply of the human and every answer of the computer to it: loading
    // starts one step before the computer's answers to the first reply are searched. A reply that
    // makes four ends the replies, as an answer that makes four ends the answers.
    void PrefetchRepliesToEveryReplyAndAnswer(int levelsLeft, std::uint64_t humanFours) const {
        const std::uint64_t computerFours = pos_.FourCells(Side::Computer);
        for (int col = 1; col <= kColumns && !MakesFour(humanFours, col); ++col) {
            if (!pos_.IsOpen(col)) {
                continue;
            }
            const std::uint64_t reply = pos_.LandingBit(col);
            for (int answer = 1; answer <= kColumns; ++answer) {
                const bool onTheReply = answer == col;
                if (!pos_.IsOpen(answer) || (onTheReply && pos_.LandingRow(col) == kRows)) {
                    continue;
                }
                const std::uint64_t stone = onTheReply ? reply << 1 : pos_.LandingBit(answer);
                if ((computerFours & stone) != 0) {
                    break;
                }
                table_.Prefetch(pos_.KeyAfterHumanAndComputerIn(col, answer), levelsLeft);
            }
        }
    }

    // LastAnswers to the human stone on top, at depth 2.
    CompAnswers LastAnswersOnTheBoard() {
        CountSearch();
        return aborted_ ? CompAnswers{} : Unpacked(LastAnswers(pos_.FourCells(Side::Computer)));
    }

    // SearchCompMoves after a human stone dropped into col.
    CompAnswers CompMovesAfterHumanIn(int col, int depth) {
        pos_.Play(col, Side::Human);
        const CompAnswers answers = SearchCompMoves(depth);
        pos_.Take(col, Side::Human);
        return answers;
    }

    // The computer's answers to the human stone on top, above the last level; the first four or
    // forced win ends it.
    CompAnswers SearchCompMoves(int depth) {
        CountSearch();
        CompAnswers answers;
        if (aborted_) {
            return answers;
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
            const HumanReplies replies = SearchHumanMovesAfterComputerIn(col, depth);
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

    // LastAnswers to a human stone dropped into col, where computerFours are the cells in which
    // the answers make four with that stone on the board.
    CompAnswers LastAnswersAfterHumanIn(int col, std::uint64_t computerFours) {
        CountSearch();
        if (aborted_) {
            return {};
        }
        // Reached again by another order of moves, often soon after: worth a look into the
        // thread's own small table, before the stone is played.
        const std::uint64_t key = pos_.KeyAfterHumanIn(col);
        LastAnswersCache::Entry& known = cache_.EntryFor(key);
        if (known.key != key) {
            pos_.Play(col, Side::Human);
            known = LastAnswers(computerFours);
            pos_.Take(col, Side::Human);
        }
        return Unpacked(known);
    }

    static CompAnswers Unpacked(const LastAnswersCache::Entry& entry) {
        CompAnswers answers;
        answers.allLose = entry.allLose;
        answers.won = entry.won;
        AddPackedLines(answers.lines, entry.lines);
        return answers;
    }

    // The computer's answers at the last level, where computerFours are the cells in which they
    // make four, and the human's replies to each, which the evaluation scores; as the cache keeps
    // them. Unless a reply makes four and ends the replies, an answer's replies record what all
    // replies record together, which the position's line codes tell at once.
    LastAnswersCache::Entry LastAnswers(std::uint64_t computerFours) {
        bool won = false;
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
                won = true;
                break;
            }
            // The replies land where they did, but on top of the answer instead of in its cell.
            const std::uint64_t foursAfter = humanFours & (landing ^ stone ^ (stone << 1));
            if (foursAfter == 0) {
                lines += pos_.LinesOfAllRepliesAfterComputerIn(col, linesNow);
                continue;
            }
            // The reply in the lowest column of those that make four ends the replies.
            const int four = std::countr_zero(foursAfter) / 7 + 1;
            for (int reply = 1; reply <= four; ++reply) {
                lines += pos_.LinesOfHumanStoneAfterComputerIn(col, reply);
            }
            ++lost;
        }
        const bool allLose = !won && lost == tried && tried != 0;
        CountSearch(tried - (won ? 1 : 0));  // the answers' reply searches
        return {pos_.Key(), lines, allLose, won};
    }

    // Counts searches; every so many gives up when the time is up or the work no longer counts.
    void CountSearch(int searches = 1) {
        nodes_ += static_cast<std::uint64_t>(searches);
        if (nodes_ < nextCheck_) {
            return;
        }
        nextCheck_ = nodes_ + kCheckInterval;
        aborted_ = control_.CheckTime() || !control_.Needed(candidate_, reply_);
    }

    // How many searches pass between two looks at the clock and at the other threads.
    static constexpr std::uint64_t kCheckInterval = 1024;

    Position pos_;
    int level_;
    TranspositionTable& table_;
    LastAnswersCache& cache_;
    LevelControl& control_;
    int candidate_ = 0;
    int reply_ = 0;
    bool aborted_ = false;
    std::uint64_t nodes_ = 0;
    std::uint64_t nextCheck_ = kCheckInterval;
};

}  // namespace quorbel
