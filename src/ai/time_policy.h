#pragma once

// Which level the look-ahead searches next under the time limit, and the times that decision
// rests on. docs/engine.md gives every constant and the measurements behind it.

#include <vector>

#include "ai/level_control.h"

namespace quorbel {

// A level that completed and the time it took.
struct LevelTime {
    int level = 0;
    double seconds = 0;
};

// From the levels completed so far, in ascending order (a level may have been left out), a guess
// at the next level's time that is rather too short than too long; 0 while the levels are too
// short to tell.
double EstimateNextLevelSeconds(const std::vector<LevelTime>& completed);

// Where the search goes next: to level, or nowhere (level 0), expecting it to take about
// expectedSeconds (0: too soon to tell). A level searched before the one it leaps over must
// complete by the time limit less reserveSeconds.
struct LevelStep {
    int level = 0;
    double reserveSeconds = 0;
    double expectedSeconds = 0;
};

// After a completed level, with secondsLeft of the time limit. When the level after next is sure
// to leave room for the next one, it is searched first, and only if it has not completed when
// reserveSeconds are left does the next level get them; either way no deeper decision is given
// away.
LevelStep PlanNextLevel(const std::vector<LevelTime>& completed, int deepestLevel,
                        double secondsLeft);

// After a level that ended before it completed: the level it leapt over, if it leapt and its time
// ran out; nothing when the time limit was reached or a stop was asked for.
LevelStep PlanAfterUnfinishedLevel(const LevelStep& unfinished, LevelEnd end);

// The time a level will take from step on, the levels the plan will go on to after it included,
// as PlanNextLevel would plan them if every level took what it expects; 0 while too soon to tell.
double PlannedSeconds(std::vector<LevelTime> completed, const LevelStep& step, int deepestLevel,
                      double secondsLeft);

// The part of a level's wall time that the next levels' times grow from: without the setting up of
// fresh table pages, which the system did in systemSeconds of CPU time spread over threads.
double SearchSeconds(double wallSeconds, double systemSeconds, int threads);

}  // namespace quorbel
