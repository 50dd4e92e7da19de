#include "ai/move_driver.h"

#include <algorithm>

#include "ai/candidate_choice.h"

namespace quorbel {

namespace {

// The per-depth counters are held from depth 1 at index 0.
std::int32_t& AtDepth(std::vector<std::int32_t>& perDepth, int depth) {
    return perDepth[static_cast<std::size_t>(depth - 1)];
}

std::int32_t& CandidateCount(GameRecord& rec) {
    return AtDepth(rec.MovesTried, 1);
}

std::vector<int> CandidateList(GameRecord& rec) {
    std::vector<int> list;
    for (int p = 1; p <= CandidateCount(rec); ++p) {
        list.push_back(rec.Candidates[p]);
    }
    return list;
}

// Removes entry `from` of Candidates by moving the entries after it down one place.
void CloseCandidateGap(GameRecord& rec, int from) {
    for (int p = from; p <= CandidateCount(rec) - 1; ++p) {
        rec.Candidates[p] = rec.Candidates[p + 1];
    }
    --CandidateCount(rec);
}

}  // namespace

MoveDriver::MoveDriver() : MoveDriver(PlayerOptions{}) {}

MoveDriver::MoveDriver(const PlayerOptions& options)
    : options_(options), lookAhead_(options.maxLog2TableEntries, options.threads) {
    lookAhead_.TraceLevels(options.trace);
}

MoveDriver::~MoveDriver() = default;

void MoveDriver::MakeCompMove(GameRecord& rec, int level, PlayerHost& host) {
    report_ = MoveReport{};
    if (rec.MoveNr == 1) {
        OpeningStage(rec, host);
        return;
    }
    StartStage(rec, level, host);
    if (FilterStage(rec, host)) {
        return;
    }
    if (CandidateCount(rec) >= 2 && LookAheadStage(rec, host)) {
        return;
    }
    DefeatStage(rec, host);
    rec.CompWon = false;
    rec.HumanWon = false;
    ChoiceStage(rec, host);
    ResultStage(rec, host);
}

void MoveDriver::OpeningStage(GameRecord& rec, PlayerHost& host) {
    const double r = host.random();
    rec.CurCol = static_cast<int>(3 * r) + 3;
    report_.exit = MoveExit::Opening;
    report_.column = rec.CurCol;
}

void MoveDriver::StartStage(GameRecord& rec, int level, PlayerHost& host) {
    host.clearThinkTime();
    rec.ThinkStartTime = host.now();
    if (options_.thinkLimitSeconds) {
        deadline_ =
            std::chrono::steady_clock::now() + SecondsAsDuration(*options_.thinkLimitSeconds);
    }
    host.showBusyPointer();
    // The game keeps the level within 1..10; the look-ahead needs at least one level.
    rec.Level = std::clamp(level, 1, kMaxLevel);
    rec.ProgressDone = 0;
    const auto levels = static_cast<std::size_t>(rec.Level);
    rec.MovesTried.assign(levels, 0);
    rec.MovesWon.assign(levels, 0);
    rec.MovesLost.assign(levels, 0);
    for (int col = 1; col <= kColumns; ++col) {
        rec.Candidates[col] = 0;
        rec.EnemyLines[static_cast<std::size_t>(col)].clear();
        rec.CompLines[static_cast<std::size_t>(col)].clear();
    }
    CandidateCount(rec) = 0;
    report_.level = rec.Level;
    report_.completedLevel = rec.Level;
}

// Every open column is a candidate unless the human could complete four right after it; the
// lowest column that completes four for the computer is played at once.
bool MoveDriver::FilterStage(GameRecord& rec, PlayerHost& host) {
    for (int col = 1; col <= kColumns; ++col) {
        if (rec.WorkColHeight[col] >= kRows) {
            continue;
        }
        ++CandidateCount(rec);
        rec.Candidates[CandidateCount(rec)] = static_cast<std::int16_t>(col);
        rec.TryCompMove(col);
        if (rec.CompWon) {
            rec.CurCol = col;
            report_.exit = MoveExit::ImmediateWin;
            report_.filtered = CandidateList(rec);
            report_.column = col;
            ShowThinkTime(rec, host);
            return true;
        }
        for (int h = 1; h <= kColumns; ++h) {
            if (rec.WorkColHeight[h] >= kRows) {
                continue;
            }
            rec.SetHumanStone(h);
            rec.CheckHumanFour(h);
            rec.TakeStone(h);
            if (rec.HumanWon) {
                --CandidateCount(rec);
                break;
            }
        }
        rec.TakeStone(col);
    }
    report_.filtered = CandidateList(rec);
    return false;
}

// The look-ahead itself runs off the calling thread, all candidates at once; its verdicts are then
// taken candidate by candidate as the stage lists them: a forced loss drops the candidate, the
// first forced win is played.
bool MoveDriver::LookAheadStage(GameRecord& rec, PlayerHost& host) {
    int p = 1;
    rec.ProgressTotal = CandidateCount(rec);
    host.setProgressMax(rec.ProgressTotal);

    const std::vector<int> candidates = CandidateList(rec);
    const std::optional<SteadyTime> deadline =
        options_.thinkLimitSeconds ? std::optional(deadline_) : std::nullopt;
    // The bar runs from 0 to ProgressTotal, in finer steps than a candidate (think_progress.h).
    const auto showShare = [&host, total = rec.ProgressTotal](double share) {
        host.setProgressValue(share * total);
    };
    LookAheadOutcome outcome;
    host.runWhileBusy(
        [&] { outcome = lookAhead_.Run(rec, candidates, rec.Level, deadline, showShare); });
    if (!options_.keepTable) {
        lookAhead_.ReleaseTable();
    }
    report_.completedLevel = outcome.completedLevel;
    report_.nodes = outcome.nodes;

    auto verdicts = outcome.examined.begin();
    while (p <= CandidateCount(rec)) {
        rec.TestCol = rec.Candidates[p];
        rec.SetCompStone(rec.TestCol);
        ++rec.ProgressDone;
        const CandidateReport& found = *verdicts++;
        AtDepth(rec.MovesLost, 1) = found.verdict == Verdict::Lost ? 1 : 0;
        AtDepth(rec.MovesWon, 1) = found.verdict == Verdict::Won ? 1 : 0;
        rec.EnemyLines[static_cast<std::size_t>(rec.TestCol)] = found.lines;
        report_.examined.push_back(found);
        if (AtDepth(rec.MovesLost, 1) != 0) {
            CloseCandidateGap(rec, p);
            --p;
        }
        if (AtDepth(rec.MovesWon, 1) != 0) {
            rec.CurCol = rec.TestCol;
            host.showMessage("Ich werde gewinnen !!!!");
            rec.CompWon = false;
            rec.HumanWon = false;
            report_.exit = MoveExit::ForcedWin;
            report_.column = rec.CurCol;
            ShowThinkTime(rec, host);
            return true;
        }
        rec.TakeStone(rec.TestCol);
        ++p;
    }
    return false;
}

// With no candidate left the computer gives up and plays the last column it dropped.
void MoveDriver::DefeatStage(GameRecord& rec, PlayerHost& host) {
    if (CandidateCount(rec) != 0) {
        report_.exit = MoveExit::Choice;
        report_.remaining = CandidateList(rec);
        return;
    }
    host.showMessage("Ich verliere !");
    CandidateCount(rec) = 1;
    report_.exit = MoveExit::Defeat;
}

// The first two candidates meet; the winner keeps the front place and the loser leaves the list.
void MoveDriver::ChoiceStage(GameRecord& rec, PlayerHost& host) {
    while (CandidateCount(rec) > 1) {
        int winner = PreferredCandidate(rec, rec.Candidates[1], rec.Candidates[2]);
        if (winner == 0) {
            host.reseedFromTimeOfDay();
            const double r = host.random();
            winner = rec.Candidates[static_cast<int>(2 * r + 1)];
        }
        rec.Candidates[1] = static_cast<std::int16_t>(winner);
        CloseCandidateGap(rec, 2);
    }
}

void MoveDriver::ResultStage(GameRecord& rec, PlayerHost& host) {
    rec.CurCol = rec.Candidates[1];
    report_.column = rec.CurCol;
    ShowThinkTime(rec, host);
}

void MoveDriver::ShowThinkTime(const GameRecord& rec, PlayerHost& host) {
    host.showThinkTime(host.now() - rec.ThinkStartTime);
    host.setProgressValue(0);
}

}  // namespace quorbel
