#include "ai/move_driver.h"

#include <algorithm>

#include "ai/candidate_choice.h"
#include "flow/game.h"
#include "ui/runtime.h"

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
    for (rec.LoopRow = static_cast<std::int16_t>(from); rec.LoopRow <= CandidateCount(rec) - 1;
         ++rec.LoopRow) {
        rec.Candidates[rec.LoopRow] = rec.Candidates[rec.LoopRow + 1];
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

void MoveDriver::MakeCompMove(Game& game) {
    GameRecord& rec = game.record();
    Toolkit& toolkit = game.toolkit();
    report_ = MoveReport{};
    if (rec.MoveNr == 1) {
        OpeningStage(rec, toolkit);
        return;
    }
    StartStage(rec, toolkit);
    if (FilterStage(game)) {
        return;
    }
    if (CandidateCount(rec) >= 2 && LookAheadStage(game)) {
        return;
    }
    DefeatStage(game);
    rec.CompWon = false;
    rec.HumanWon = false;
    ChoiceStage(rec, toolkit);
    ResultStage(game);
}

void MoveDriver::OpeningStage(GameRecord& rec, Toolkit& toolkit) {
    const double r = toolkit.random();
    rec.CurCol = static_cast<int>(3 * r) + 3;
    report_.exit = MoveExit::Opening;
    report_.column = rec.CurCol;
}

void MoveDriver::StartStage(GameRecord& rec, Toolkit& toolkit) {
    toolkit.setCaption(Control::lblTime, "");
    toolkit.repaintNow(Control::lblTime);
    rec.ThinkStartTime = toolkit.now();
    if (options_.thinkLimitSeconds) {
        deadline_ =
            std::chrono::steady_clock::now() + SecondsAsDuration(*options_.thinkLimitSeconds);
    }
    toolkit.setMousePointer(MousePointer::Hourglass);
    // The level control keeps the caption within 1..10; the look-ahead needs at least one level.
    rec.Level = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        NumberFromText(toolkit.caption(Control::lblStaerke)), 1, kMaxLevel));
    rec.ProgressDone = 0;
    const auto levels = static_cast<std::size_t>(rec.Level);
    rec.MovesTried.assign(levels, 0);
    rec.MovesWon.assign(levels, 0);
    rec.MovesLost.assign(levels, 0);
    for (rec.LoopCol = 1; rec.LoopCol <= kColumns; ++rec.LoopCol) {
        rec.Candidates[rec.LoopCol] = 0;
        rec.EnemyLines[static_cast<std::size_t>(rec.LoopCol)].clear();
        rec.CompLines[static_cast<std::size_t>(rec.LoopCol)].clear();
    }
    CandidateCount(rec) = 0;
    report_.level = rec.Level;
    report_.completedLevel = rec.Level;
}

// Every open column is a candidate unless the human could complete four right after it; the
// lowest column that completes four for the computer is played at once.
bool MoveDriver::FilterStage(Game& game) {
    GameRecord& rec = game.record();
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
            ShowThinkTime(game);
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
bool MoveDriver::LookAheadStage(Game& game) {
    GameRecord& rec = game.record();
    Toolkit& toolkit = game.toolkit();
    int p = 1;
    rec.ProgressTotal = CandidateCount(rec);
    toolkit.setProgressMax(rec.ProgressTotal);

    const std::vector<int> candidates = CandidateList(rec);
    const std::optional<SteadyTime> deadline =
        options_.thinkLimitSeconds ? std::optional(deadline_) : std::nullopt;
    // The bar runs from 0 to ProgressTotal, in finer steps than a candidate (think_progress.h).
    const auto showShare = [&toolkit, total = rec.ProgressTotal](double share) {
        toolkit.setProgressValue(share * total);
    };
    LookAheadOutcome outcome;
    toolkit.runWhileBusy(
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
            game.ShowMessage("Ich werde gewinnen !!!!");
            rec.CompWon = false;
            rec.HumanWon = false;
            report_.exit = MoveExit::ForcedWin;
            report_.column = rec.CurCol;
            ShowThinkTime(game);
            return true;
        }
        rec.TakeStone(rec.TestCol);
        ++p;
    }
    return false;
}

// With no candidate left the computer gives up and plays the last column it dropped.
void MoveDriver::DefeatStage(Game& game) {
    GameRecord& rec = game.record();
    if (CandidateCount(rec) != 0) {
        report_.exit = MoveExit::Choice;
        report_.remaining = CandidateList(rec);
        return;
    }
    game.ShowMessage("Ich verliere !");
    CandidateCount(rec) = 1;
    report_.exit = MoveExit::Defeat;
}

// The first two candidates meet; the winner keeps the front place and the loser leaves the list.
void MoveDriver::ChoiceStage(GameRecord& rec, Toolkit& toolkit) {
    while (CandidateCount(rec) > 1) {
        int winner = PreferredCandidate(rec, rec.Candidates[1], rec.Candidates[2]);
        if (winner == 0) {
            toolkit.reseedFromTimeOfDay();
            const double r = toolkit.random();
            winner = rec.Candidates[static_cast<int>(2 * r + 1)];
        }
        rec.Candidates[1] = static_cast<std::int16_t>(winner);
        CloseCandidateGap(rec, 2);
    }
}

void MoveDriver::ResultStage(Game& game) {
    GameRecord& rec = game.record();
    rec.CurCol = rec.Candidates[1];
    report_.column = rec.CurCol;
    ShowThinkTime(game);
}

void MoveDriver::ShowThinkTime(Game& game) {
    Toolkit& toolkit = game.toolkit();
    toolkit.setCaption(Control::lblTime,
                       FormatElapsed(toolkit.now() - game.record().ThinkStartTime));
    toolkit.setProgressValue(0);
}

}  // namespace quorbel
