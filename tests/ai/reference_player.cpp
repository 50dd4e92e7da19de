#include "ai/reference_player.h"

namespace quorbel::testing {

MoveReport ReferencePlayer::Decide() {
    MoveReport report;
    report.level = rec_.Level;
    report.completedLevel = rec_.Level;
    if (rec_.MoveNr == 1) {
        report.exit = MoveExit::Opening;
        return report;
    }
    rec_.MovesTried.assign(static_cast<std::size_t>(rec_.Level), 0);
    rec_.MovesWon.assign(static_cast<std::size_t>(rec_.Level), 0);
    rec_.MovesLost.assign(static_cast<std::size_t>(rec_.Level), 0);
    for (int col = 1; col <= 7; ++col) {
        rec_.Candidates[col] = 0;
        rec_.EnemyLines[col].clear();
        rec_.CompLines[col].clear();
    }
    MovesTried(1) = 0;

    if (FilterStage(report)) {
        return report;
    }
    if (MovesTried(1) >= 2 && LookAheadStage(report)) {
        return report;
    }
    if (MovesTried(1) == 0) {
        MovesTried(1) = 1;
        report.exit = MoveExit::Defeat;
        report.column = rec_.Candidates[1];
    } else {
        report.exit = MoveExit::Choice;
        for (int p = 1; p <= MovesTried(1); ++p) {
            report.remaining.push_back(rec_.Candidates[p]);
        }
    }
    rec_.CompWon = false;
    rec_.HumanWon = false;
    return report;
}

bool ReferencePlayer::FilterStage(MoveReport& report) {
    for (int col = 1; col <= 7; ++col) {
        if (rec_.WorkColHeight[col] >= 6) {
            continue;
        }
        ++MovesTried(1);
        rec_.Candidates[MovesTried(1)] = static_cast<std::int16_t>(col);
        rec_.TryCompMove(col);
        if (rec_.CompWon) {
            rec_.CurCol = col;
            report.exit = MoveExit::ImmediateWin;
            report.column = col;
            for (int p = 1; p <= MovesTried(1); ++p) {
                report.filtered.push_back(rec_.Candidates[p]);
            }
            return true;
        }
        for (int h = 1; h <= 7; ++h) {
            if (rec_.WorkColHeight[h] >= 6) {
                continue;
            }
            rec_.SetHumanStone(h);
            rec_.CheckHumanFour(h);
            rec_.TakeStone(h);
            if (rec_.HumanWon) {
                --MovesTried(1);
                break;
            }
        }
        rec_.TakeStone(col);
    }
    for (int p = 1; p <= MovesTried(1); ++p) {
        report.filtered.push_back(rec_.Candidates[p]);
    }
    return false;
}

bool ReferencePlayer::LookAheadStage(MoveReport& report) {
    int p = 1;
    rec_.ProgressTotal = MovesTried(1);
    while (p <= MovesTried(1)) {
        rec_.TestCol = rec_.Candidates[p];
        rec_.SetCompStone(rec_.TestCol);
        ++rec_.ProgressDone;
        MovesLost(1) = 0;
        MovesWon(1) = 0;
        SearchHumanMoves(1);
        report.examined.push_back({rec_.TestCol,
                                   MovesLost(1) != 0  ? Verdict::Lost
                                   : MovesWon(1) != 0 ? Verdict::Won
                                                      : Verdict::None,
                                   rec_.EnemyLines[rec_.TestCol]});
        if (MovesLost(1) != 0) {
            for (int q = p; q <= MovesTried(1) - 1; ++q) {
                rec_.Candidates[q] = rec_.Candidates[q + 1];
            }
            --MovesTried(1);
            --p;
        }
        if (MovesWon(1) != 0) {
            rec_.CurCol = rec_.TestCol;
            rec_.CompWon = false;
            rec_.HumanWon = false;
            report.exit = MoveExit::ForcedWin;
            report.column = rec_.TestCol;
            return true;
        }
        rec_.TakeStone(rec_.TestCol);
        ++p;
    }
    return false;
}

void ReferencePlayer::SearchCompMoves(int depth) {
    ++nodes_;
    MovesTried(depth) = 0;
    MovesLost(depth) = 0;
    MovesWon(depth) = 0;
    for (int col = 1; col <= 7; ++col) {
        if (rec_.WorkColHeight[col] >= 6) {
            continue;
        }
        ++MovesTried(depth);
        rec_.TryCompMove(col);
        if (rec_.CompWon) {
            rec_.TakeStone(col);
            ++MovesWon(depth);
            return;
        }
        SearchHumanMoves(depth);
        rec_.HumanWon = false;
        rec_.TakeStone(col);
        if (MovesWon(depth) != 0) {
            return;
        }
    }
}

void ReferencePlayer::SearchHumanMoves(int depth) {
    ++nodes_;
    int openReplies = 0;
    int winningReplies = 0;
    for (int col = 1; col <= 7; ++col) {
        rec_.HumanWon = false;
        if (rec_.WorkColHeight[col] >= 6) {
            continue;
        }
        ++openReplies;
        if (depth == rec_.Level) {
            AnalyseEnemyCol(col);
            if (rec_.HumanWon) {
                ++MovesLost(depth);
                rec_.TakeStone(col);
                return;
            }
            rec_.TakeStone(col);
            continue;
        }
        rec_.SetHumanStone(col);
        rec_.CheckHumanFour(col);
        if (rec_.HumanWon) {
            ++MovesLost(depth);
            rec_.TakeStone(col);
            return;
        }
        SearchCompMoves(depth + 1);
        if (MovesLost(depth + 1) == MovesTried(depth + 1) && MovesLost(depth + 1) != 0) {
            ++MovesLost(depth);
            rec_.TakeStone(col);
            return;
        }
        if (MovesWon(depth + 1) != 0) {
            ++winningReplies;
        }
        rec_.TakeStone(col);
    }
    if (winningReplies == openReplies && winningReplies != 0) {
        ++MovesWon(depth);
    }
}

void ReferencePlayer::AnalyseEnemyCol(int col) {
    rec_.HumanWon = false;
    ++rec_.WorkColHeight[col];
    const int row = rec_.WorkColHeight[col];
    rec_.WorkBoard(col, row) = kHuman;

    const auto four = [this](ScanEnd end) {
        if (end == ScanEnd::Four) {
            rec_.HumanWon = true;
        }
        return end == ScanEnd::Four;
    };
    if (four(VerticalScan(col))) {
        return;
    }
    // The horizontal scan never leaves the board; a computer stone in column 4 blocks every
    // window, one further right only the windows after it.
    if (four(WindowScan(1, row, 1, 0, 3, [](int p) {
            return p == 3  ? Blocked::ScanFinished
                   : p > 3 ? Blocked::NextTarget
                           : Blocked::NextWindow;
        }))) {
        return;
    }
    const auto diagonalBlock = [](int p) {
        return p == 3 || p == 4 ? Blocked::ScanFinished
               : p >= 5         ? Blocked::NextTarget
                                : Blocked::NextWindow;
    };
    int startCol = col;
    int startRow = row;
    if (col > 1 && row > 1) {
        if (col > row) {
            startCol = col - row + 1;
            startRow = 1;
        } else {
            startCol = 1;
            startRow = row - col + 1;
        }
    }
    if (four(WindowScan(startCol, startRow, 1, 1, 2, diagonalBlock))) {
        return;
    }
    startCol = col;
    startRow = row;
    while (startCol < 7 && startRow > 1) {
        ++startCol;
        --startRow;
    }
    four(WindowScan(startCol, startRow, -1, 1, 2, diagonalBlock));
}

ReferencePlayer::ScanEnd ReferencePlayer::VerticalScan(int col) {
    int r = 0;
    int run = 0;
    for (;;) {
        ++r;
        if (rec_.WorkBoard(col, r) == kHuman) {
            ++run;
            if (r == 6) {
                if (run == 4) {
                    Record(4);
                    return ScanEnd::Four;
                }
                return ScanEnd::Finished;
            }
            continue;
        }
        if (run == 4) {
            Record(4);
            return ScanEnd::Four;
        }
        if (run == 2 || run == 3) {
            Record(run);
        }
        if (r > 2) {
            return ScanEnd::Finished;
        }
        run = 0;
    }
}

// Position p of the line is (startCol + colStep * p, startRow + rowStep * p).
ReferencePlayer::ScanEnd ReferencePlayer::WindowScan(int startCol, int startRow, int colStep,
                                                     int rowStep, int lastWindow,
                                                     Blocked (*computerStoneAt)(int p)) {
    for (int n = 4; n >= 2; --n) {
        bool nextTarget = false;
        for (int i = 0; i <= lastWindow && !nextTarget; ++i) {
            int humans = 0;
            int empties = 0;
            bool nextWindow = false;
            for (int p = i; p <= i + 3; ++p) {
                const int c = startCol + colStep * p;
                const int r = startRow + rowStep * p;
                if (c < 1 || c > 7 || r > 6) {
                    nextTarget = true;
                    break;
                }
                const std::int16_t cell = rec_.WorkBoard(c, r);
                if (cell == kHuman) {
                    ++humans;
                } else if (cell == kComputer) {
                    const Blocked blocked = computerStoneAt(p);
                    if (blocked == Blocked::ScanFinished) {
                        return ScanEnd::Finished;
                    }
                    nextTarget = blocked == Blocked::NextTarget;
                    nextWindow = blocked == Blocked::NextWindow;
                    break;
                } else if (++empties > 4 - n) {
                    nextWindow = true;
                    break;
                }
            }
            if (nextTarget || nextWindow) {
                continue;
            }
            if (humans == n && empties == 4 - n) {
                Record(n);
                return n == 4 ? ScanEnd::Four : ScanEnd::Finished;
            }
        }
    }
    return ScanEnd::Finished;
}

}  // namespace quorbel::testing
