#include "ai/candidate_choice.h"

namespace quorbel {

int PreferredCandidate(const GameRecord& rec, int a, int b) {
    const auto fewerHumanLines = [&](int n) {
        const std::int64_t countA = rec.EnemyLines[a][n];
        const std::int64_t countB = rec.EnemyLines[b][n];
        return countA < countB ? a : countB < countA ? b : 0;
    };
    const auto moreOwnLines = [&](int n) {
        const std::int64_t countA = rec.CompLines[a][n];
        const std::int64_t countB = rec.CompLines[b][n];
        return countA > countB ? a : countB > countA ? b : 0;
    };
    if (rec.Defensive) {
        for (int size = 4; size >= 2; --size) {
            if (const int winner = fewerHumanLines(size)) {
                return winner;
            }
        }
        for (int size = 4; size >= 2; --size) {
            if (const int winner = moreOwnLines(size)) {
                return winner;
            }
        }
        return 0;
    }
    if (const int winner = fewerHumanLines(4)) {
        return winner;
    }
    for (int size = 4; size >= 2; --size) {
        if (const int winner = moreOwnLines(size)) {
            return winner;
        }
        if (const int winner = fewerHumanLines(size)) {
            return winner;
        }
    }
    return 0;
}

std::map<int, double> ChoiceOdds(const GameRecord& rec, const std::vector<int>& candidates) {
    std::map<int, double> front;  // who holds the front of the list, and how likely
    if (candidates.empty()) {
        return front;
    }
    front[candidates.front()] = 1.0;
    for (std::size_t k = 1; k < candidates.size(); ++k) {
        const int challenger = candidates[k];
        std::map<int, double> next;
        for (const auto& [holder, chance] : front) {
            const int winner = PreferredCandidate(rec, holder, challenger);
            if (winner == 0) {
                next[holder] += chance / 2;
                next[challenger] += chance / 2;
            } else {
                next[winner] += chance;
            }
        }
        front = std::move(next);
    }
    return front;
}

}  // namespace quorbel
