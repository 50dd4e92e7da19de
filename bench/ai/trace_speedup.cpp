// quorbel-trace-speedup: reads a trace of quorbel-bench --trace, best one taken on one thread, and
// prints for each level of each position its items, the sum of their times against the level's
// own time, the largest item, and the speed-up that list scheduling gives at 2, 4, 8 and 16
// threads: the items in the order the threads took them, each to the thread that is free first.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <queue>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: quorbel-trace-speedup [TRACE]   (standard input without)\n";

constexpr int kThreadCounts[] = {2, 4, 8, 16};

struct Level {
    std::string position;
    int level = 0;
    std::vector<double> itemMs;  // in the order the threads took them
    double searchMs = -1;        // the level's search time, when the trace gives it
};

// The time the items take on threads that each take the next item as soon as they are free.
double ListScheduledMs(const std::vector<double>& itemMs, int threads) {
    std::priority_queue<double, std::vector<double>, std::greater<>> freeAt;
    for (int t = 0; t < threads; ++t) {
        freeAt.push(0);
    }
    double end = 0;
    for (const double ms : itemMs) {
        const double finish = freeAt.top() + ms;
        freeAt.pop();
        freeAt.push(finish);
        end = std::max(end, finish);
    }
    return end;
}

// Data lines "level candidate place thread start_ms ms"; the comments "# position MOVES" and
// "# level L search_ms T ..." name the position and close a level. A level's lines that follow
// another level's, or another position, begin a new level.
bool ReadTrace(std::istream& in, std::vector<Level>& levels) {
    std::string position = "?";
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        if (line.starts_with("# position ")) {
            position = line.substr(11);
            continue;
        }
        if (line.starts_with("# level ")) {
            std::string word;
            int level = 0;
            double ms = 0;
            fields >> word >> word >> level >> word >> ms;
            if (fields && !levels.empty() && levels.back().level == level) {
                levels.back().searchMs = ms;
            }
            continue;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        int level = 0;
        int candidate = 0;
        long place = 0;
        int thread = 0;
        double start = 0;
        double ms = 0;
        if (!(fields >> level >> candidate >> place >> thread >> start >> ms)) {
            std::cerr << "quorbel-trace-speedup: unreadable line: " << line << "\n";
            return false;
        }
        if (levels.empty() || levels.back().level != level || levels.back().position != position ||
            levels.back().searchMs >= 0) {
            levels.push_back({position, level, {}, -1});
        }
        levels.back().itemMs.push_back(ms);
    }
    return true;
}

void PrintLevel(const Level& level) {
    double sum = 0;
    for (const double ms : level.itemMs) {
        sum += ms;
    }
    const double largest = *std::max_element(level.itemMs.begin(), level.itemMs.end());
    std::printf("%-24s %5d %6zu %10.1f", level.position.c_str(), level.level, level.itemMs.size(),
                sum);
    if (level.searchMs > 0) {
        std::printf(" %10.1f %5.1f%%", level.searchMs, 100 * sum / level.searchMs);
    } else {
        std::printf(" %10s %6s", "-", "-");
    }
    std::printf(" %10.1f %5.1f%%", largest, sum > 0 ? 100 * largest / sum : 0.0);
    for (const int threads : kThreadCounts) {
        const double scheduled = ListScheduledMs(level.itemMs, threads);
        std::printf(" %6.2f", scheduled > 0 ? sum / scheduled : 1.0);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::vector<Level> levels;
    bool read = false;
    if (argc == 2) {
        std::ifstream file(argv[1]);
        if (!file) {
            std::fprintf(stderr, "quorbel-trace-speedup: cannot read %s\n", argv[1]);
            return 2;
        }
        read = ReadTrace(file, levels);
    } else {
        read = ReadTrace(std::cin, levels);
    }
    if (!read) {
        return 2;
    }
    std::printf("%-24s %5s %6s %10s %10s %6s %10s %6s %6s %6s %6s %6s\n", "position", "level",
                "items", "sum ms", "search ms", "sum %", "largest ms", "share", "x2", "x4", "x8",
                "x16");
    for (const Level& level : levels) {
        PrintLevel(level);
    }
    return 0;
}
