#include "ai/search.h"

#include "ai/evaluation.h"
#include "ai/move_order.h"

namespace quorbel {

// The recursion's own functions are defined inline: GCC then inlines them into one another more
// readily, and the search runs some 4% fewer instructions (callgrind, level 6 after 4).

namespace {

CompAnswers Unpacked(const LastAnswersCache::Entry& entry) {
    CompAnswers answers;
    answers.allLose = entry.allLose;
    answers.won = entry.won;
    AddPackedLines(answers.lines, entry.lines);
    return answers;
}

}  // namespace

void Search::BeginItem(int node, int move) {
    node_ = node;
    move_ = move;
    cut_ = Cut::None;
}

void Search::CountSplitSearch() {
    CountSearches();
}

std::optional<CompAnswers> Search::AnswersAfterReply(const Position& position, int depth) {
    pos_ = position;
    const std::uint64_t computerFours = pos_.FourCells(Side::Computer);
    if (depth < level_) {
        PrefetchRepliesToEveryAnswer(level_ - depth, computerFours);
    }
    const CompAnswers answers = depth == level_ ? LastAnswersOnTheBoard(computerFours)
                                                : SearchAnswers(depth, computerFours);
    return cut_ == Cut::None ? std::optional(answers) : std::nullopt;
}

// The computer's answers of depth, above the last level, to the human stone on top, where
// computerFours are the cells in which they make four; the first four or forced win ends them.
inline CompAnswers Search::SearchAnswers(int depth, std::uint64_t computerFours) {
    CountSearches();
    CompAnswers answers;
    if (cut_ != Cut::None) {
        return answers;
    }
    const ColumnsInOrder order = ColumnsUntilFour(pos_.LandingCells(), computerFours);
    int tried = 0;
    int lost = 0;
    for (int answer = 1; answer < order.end; ++answer) {
        if (!pos_.IsOpen(answer)) {
            continue;
        }
        ++tried;
        const HumanReplies replies = RepliesAfterAnswer(answer, depth);
        if (cut_ != Cut::None) {
            return answers;
        }
        AddTally(answers.lines, replies.lines);
        lost += replies.lost ? 1 : 0;
        if (replies.won) {
            answers.won = true;
            return answers;
        }
    }
    answers.won = order.EndsInFour();
    answers.allLose = !answers.won && lost == tried && tried != 0;
    return answers;
}

// The human's replies of depth after a computer answer dropped into column answer. The table gives
// them without a stone played when it has them.
inline HumanReplies Search::RepliesAfterAnswer(int answer, int depth) {
    CountSearches();
    HumanReplies replies;
    if (cut_ != Cut::None) {
        return replies;
    }
    const int levelsLeft = level_ - depth;
    const std::uint64_t key = pos_.KeyAfterComputerIn(answer);
    if (table_.Probe(key, levelsLeft, replies)) {
        return replies;
    }
    pos_.Play(answer, Side::Computer);
    replies = SearchReplies(depth);
    pos_.Take(answer, Side::Computer);
    if (cut_ == Cut::None) {
        table_.Store(key, levelsLeft, replies);
    }
    return replies;
}

// The human's replies of depth, above the last level, to the computer stone on top: each reply
// that makes no four is answered by the computer one level deeper. The first reply that makes four
// or leaves only losing answers refutes the computer's stone.
inline HumanReplies Search::SearchReplies(int depth) {
    HumanReplies replies;
    const ColumnsInOrder order = ColumnsUntilFour(pos_.LandingCells(), pos_.FourCells(Side::Human));
    const bool lastAnswersNext = depth + 1 == level_;
    // A human stone takes from the computer's fours no more than its own cell.
    const std::uint64_t computerFours = pos_.FourCells(Side::Computer);
    if (lastAnswersNext) {
        for (int reply = 1; reply < order.end; ++reply) {
            if (pos_.IsOpen(reply)) {
                cache_.Prefetch(pos_.KeyAfterHumanIn(reply));
            }
        }
    } else {
        PrefetchRepliesToEveryReplyAndAnswer(level_ - depth - 1, order, computerFours);
    }
    int openReplies = 0;
    int winningReplies = 0;
    for (int reply = 1; reply < order.end; ++reply) {
        if (!pos_.IsOpen(reply)) {
            continue;
        }
        ++openReplies;
        const std::uint64_t foursAfterReply = computerFours & ~pos_.LandingBit(reply);
        const CompAnswers answers = lastAnswersNext
                                        ? LastAnswersAfterReplyIn(reply, foursAfterReply)
                                        : AnswersAfterReplyIn(reply, depth + 1, foursAfterReply);
        if (cut_ != Cut::None) {
            return replies;
        }
        AddTally(replies.lines, answers.lines);
        if (answers.allLose) {
            replies.lost = true;
            return replies;
        }
        winningReplies += answers.won ? 1 : 0;
    }
    replies.lost = order.EndsInFour();
    replies.won = !replies.lost && winningReplies == openReplies && openReplies != 0;
    return replies;
}

// The computer's answers of depth after a human stone dropped into column reply, where
// computerFours are the cells in which they make four with that stone on the board.
inline CompAnswers Search::AnswersAfterReplyIn(int reply, int depth, std::uint64_t computerFours) {
    pos_.Play(reply, Side::Human);
    const CompAnswers answers = SearchAnswers(depth, computerFours);
    pos_.Take(reply, Side::Human);
    return answers;
}

// The last level's answers after a human stone dropped into column reply, where computerFours are
// the cells in which they make four with that stone on the board. The thread's cache gives them
// without a stone played when it has them.
inline CompAnswers Search::LastAnswersAfterReplyIn(int reply, std::uint64_t computerFours) {
    CountSearches();
    if (cut_ != Cut::None) {
        return {};
    }
    const std::uint64_t key = pos_.KeyAfterHumanIn(reply);
    LastAnswersCache::Entry& known = cache_.EntryFor(key);
    if (known.key != key) {
        pos_.Play(reply, Side::Human);
        known = LastAnswers(computerFours);
        pos_.Take(reply, Side::Human);
    }
    return Unpacked(known);
}

// The last level's answers to the human stone on top, when the level is 2.
inline CompAnswers Search::LastAnswersOnTheBoard(std::uint64_t computerFours) {
    CountSearches();
    return cut_ != Cut::None ? CompAnswers{} : Unpacked(LastAnswers(computerFours));
}

// The computer's answers at the last level, where computerFours are the cells in which they make
// four, and the human's replies to each, which the evaluation scores at the horizon; as the cache
// keeps them. Unless a reply makes four and ends the replies, an answer's replies record what all
// replies record together, which the position's line codes tell at once.
inline LastAnswersCache::Entry Search::LastAnswers(std::uint64_t computerFours) {
    const std::uint64_t humanFours = pos_.FourCells(Side::Human);
    const std::uint64_t landing = pos_.LandingCells();
    const PackedLines linesNow = LinesOfAllReplies(pos_);
    PackedLines lines = 0;
    int tried = 0;
    int lost = 0;
    bool won = false;
    // The answer that makes four, if any, ends the answers when the loop reaches its column.
    for (int answer = 1; answer <= kColumns; ++answer) {
        if (!pos_.IsOpen(answer)) {
            continue;
        }
        const std::uint64_t stone = pos_.LandingBit(answer);
        if ((computerFours & stone) != 0) {
            won = true;
            break;
        }
        ++tried;
        const std::uint64_t foursAfter = humanFours & LandingAfter(landing, stone);
        if (foursAfter == 0) {
            lines += LinesOfAllRepliesAfterComputerIn(pos_, answer, linesNow);
            continue;
        }
        // The replies up to the one in the lowest column of those that make four, which ends them;
        // a full column records nothing.
        const int four = FirstColumn(foursAfter);
        for (int reply = 1; reply <= four; ++reply) {
            lines += LinesOfHumanStoneAfterComputerIn(pos_, answer, reply);
        }
        ++lost;
    }
    const bool allLose = !won && lost == tried && tried != 0;
    CountSearches(tried);  // the answers' searches of replies
    return {pos_.Key(), lines, allLose, won};
}

// The replies to every answer of the computer are looked up in the table, with levelsLeft below
// them: start loading them all at once, before the answers are searched, in the order the search
// takes them.
inline void Search::PrefetchRepliesToEveryAnswer(int levelsLeft,
                                                 std::uint64_t computerFours) const {
    const ColumnsInOrder answers = ColumnsUntilFour(pos_.LandingCells(), computerFours);
    for (int answer = 1; answer < answers.end; ++answer) {
        if (pos_.IsOpen(answer)) {
            table_.Prefetch(pos_.KeyAfterComputerIn(answer), levelsLeft);
        }
    }
}

// The same after each of the human's replies and every answer of the computer to it: loading
// starts one step before the answers to the first reply are searched.
inline void Search::PrefetchRepliesToEveryReplyAndAnswer(int levelsLeft,
                                                         const ColumnsInOrder& replies,
                                                         std::uint64_t computerFours) const {
    const std::uint64_t landing = pos_.LandingCells();
    for (int reply = 1; reply < replies.end; ++reply) {
        if (!pos_.IsOpen(reply)) {
            continue;
        }
        const std::uint64_t replyCell = pos_.LandingBit(reply);
        const std::uint64_t landingAfter = LandingAfter(landing, replyCell);
        const ColumnsInOrder answers = ColumnsUntilFour(landingAfter, computerFours & ~replyCell);
        for (int answer = 1; answer < answers.end; ++answer) {
            if (IsOpenIn(landingAfter, answer)) {
                table_.Prefetch(pos_.KeyAfterHumanAndComputerIn(reply, answer), levelsLeft);
            }
        }
    }
}

// Counts searches; every so many looks whether the level has ended or the work no longer counts.
// A cut stays until the next work item.
inline void Search::CountSearches(int searches) {
    nodes_ += static_cast<std::uint64_t>(searches);
    if (nodes_ < nextCheck_ || cut_ != Cut::None) {
        return;
    }
    nextCheck_ = nodes_ + kCheckInterval;
    if (control_.CheckEnded()) {
        cut_ = Cut::LevelEnded;
    } else if (!control_.Needed(node_, move_)) {
        cut_ = Cut::NoLongerNeeded;
    }
}

}  // namespace quorbel
