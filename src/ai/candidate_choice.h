#pragma once

// The comparison of two candidates in the choice among the columns that remain after the
// look-ahead, and the chance of each column being played when that choice runs.

#include <map>
#include <vector>

#include "game/record.h"

namespace quorbel {

// Which of the candidate columns a and b the line counts prefer; 0 when they tie. The column with
// fewer human lines wins, largest lines first; the computer's own lines (CompLines) decide in
// favour of the larger count, after all human sizes when defensive, before each human size after
// the lines of four when aggressive.
int PreferredCandidate(const GameRecord& rec, int a, int b);

// The exact probability of each column being played when the choice eliminates the candidates
// pairwise from the front of the list, ties broken by a fair draw.
std::map<int, double> ChoiceOdds(const GameRecord& rec, const std::vector<int>& candidates);

}  // namespace quorbel
