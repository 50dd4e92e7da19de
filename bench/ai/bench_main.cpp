// quorbel-bench: times the computer player's fast engine and the step-by-step reference on four
// positions, checks that their decisions agree, and prints time, look-ahead calls, table use and
// the speed-up; then the level the engine completes at level 10 under the thinking-time limit. With
// --trace it also writes when each work item of every level ran, and on which thread.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ai/reference_player.h"
#include "headless_run.h"
#include "json_text.h"

namespace {

using quorbel::MoveReport;
using quorbel::tools::JsonObject;
using quorbel::tools::NumberText;
using quorbel::tools::Quoted;

constexpr const char* kUsage =
    "usage: quorbel-bench [--json] [--max-level N] [--reference-max-level N] [--limited-level N]\n"
    "                     [--time-limit SECONDS] [--threads N] [--table-bits B]\n"
    "                     [--position MOVES]... [--trace FILE]\n";

const std::vector<std::string> kDefaultPositions = {"4", "4453", "476334251173",
                                                    "146625554366541333355261"};

struct Settings {
    bool json = false;
    int maxLevel = 8;
    int referenceMaxLevel = 5;
    int limitedLevel = quorbel::kMaxLevel;  // 0: no measurement under the time limit
    quorbel::PlayerOptions player;
    std::vector<std::string> positions;
    std::string tracePath;
    std::FILE* trace = nullptr;  // open when tracePath is given
};

struct Row {
    std::string moves;
    int level = 0;
    MoveReport fast;
    double fastMs = 0;
    double progressMs = -1;  // until the progress bar first moved
    std::size_t tableUsed = 0;
    std::size_t tableCapacity = 0;
    double peakMiB = 0;
    std::optional<MoveReport> reference;
    double referenceMs = 0;
    std::uint64_t referenceNodes = 0;
    bool agree = true;
};

// Lets the next peak reading start from the current use (Linux); false where that is not possible.
bool ResetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

double PeakMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024.0;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// One line per work item that ran, in the order of the level's list; after each level a comment
// with its search time.
void WriteTrace(std::FILE* file, const std::string& moves,
                const std::vector<quorbel::LevelTrace>& levels) {
    std::fprintf(file, "# position %s\n", moves.c_str());
    for (const quorbel::LevelTrace& level : levels) {
        for (std::size_t place = 0; place < level.items.size(); ++place) {
            const quorbel::ItemTime& item = level.items[place];
            if (item.thread >= 0) {
                std::fprintf(file, "%d %d %zu %d %.3f %.3f\n", level.level, item.candidate, place,
                             item.thread, item.startMs, item.ms);
            }
        }
        std::fprintf(file, "# level %d search_ms %.3f %s\n", level.level, level.searchMs,
                     level.completed ? "completed" : "ended");
    }
    std::fflush(file);
}

Row Measure(const Settings& settings, const quorbel::PlayerOptions& player,
            const std::string& moves, int level) {
    Row row;
    row.moves = moves;
    row.level = level;
    ResetPeakMemory();
    std::vector<quorbel::LevelTrace> levels;
    {
        quorbel::PlayerOptions traced = player;
        traced.trace = settings.trace != nullptr ? &levels : nullptr;
        quorbel::MoveDriver driver(traced);  // a fresh table for every measurement
        quorbel::tools::Decision decision;
        if (quorbel::tools::Decide(driver, moves, level, decision) != quorbel::MovesError::None) {
            std::fprintf(stderr, "quorbel-bench: %s is no position to move in\n", moves.c_str());
            std::exit(2);
        }
        row.fast = decision.report;
        row.fastMs = decision.milliseconds;
        row.progressMs = decision.millisecondsToProgress;
        row.tableUsed = driver.table().CountUsed();
        row.tableCapacity = driver.table().Capacity();
    }
    row.peakMiB = PeakMiB();
    if (settings.trace != nullptr) {
        WriteTrace(settings.trace, moves, levels);
    }
    if (level <= settings.referenceMaxLevel) {
        quorbel::GameRecord rec;
        quorbel::SetUpFromMoves(rec, moves);
        rec.Level = level;
        quorbel::testing::ReferencePlayer reference(rec);
        const auto start = std::chrono::steady_clock::now();
        row.reference = reference.Decide();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        row.referenceMs = took.count();
        row.referenceNodes = reference.nodes();
        row.reference->level = level;
        row.agree = quorbel::SameDecision(row.fast, *row.reference);
    }
    return row;
}

void PrintHeader() {
    std::printf("%-26s %5s %9s %7s %12s %10s %8s %10s %12s %9s %6s\n", "position", "level",
                "fast ms", "bar ms", "fast nodes", "table", "peak MiB", "ref ms", "ref nodes",
                "speed-up", "agree");
}

std::string LevelText(const Row& row) {
    char level[16];
    std::snprintf(level, sizeof level, row.fast.completedLevel == row.level ? "%d" : "%d>%d",
                  row.level, row.fast.completedLevel);
    return level;
}

void PrintRow(const Row& row) {
    std::printf("%-26s %5s %9.1f %7.1f %12llu %10zu %8.0f", row.moves.c_str(),
                LevelText(row).c_str(), row.fastMs, row.progressMs,
                static_cast<unsigned long long>(row.fast.nodes), row.tableUsed, row.peakMiB);
    if (row.reference) {
        std::printf(" %10.1f %12llu %9.1f %6s\n", row.referenceMs,
                    static_cast<unsigned long long>(row.referenceNodes),
                    row.referenceMs / std::max(row.fastMs, 1e-3), row.agree ? "yes" : "NO");
    } else {
        std::printf(" %10s %12s %9s %6s\n", "-", "-", "-", "-");
    }
    std::fflush(stdout);
}

void PrintLimitedHeader(double limit) {
    std::printf("\nunder the time limit of %g s\n%-26s %5s %9s %7s %12s %8s\n", limit, "position",
                "level", "ms", "bar ms", "nodes", "peak MiB");
}

void PrintLimitedRow(const Row& row) {
    std::printf("%-26s %5s %9.1f %7.1f %12llu %8.0f\n", row.moves.c_str(), LevelText(row).c_str(),
                row.fastMs, row.progressMs, static_cast<unsigned long long>(row.fast.nodes),
                row.peakMiB);
    std::fflush(stdout);
}

// With timeLimit: a measurement under the time limit, as the game plays.
std::string JsonRow(const Row& row, std::optional<double> timeLimit = std::nullopt) {
    JsonObject json;
    json.Add("position", Quoted(row.moves)).Add("level", row.level);
    if (timeLimit) {
        json.Add("time_limit", NumberText(*timeLimit));
    }
    json.Add("completed_level", row.fast.completedLevel)
        .Add("exit", Quoted(quorbel::ExitName(row.fast.exit)))
        .Add("fast_ms", NumberText(row.fastMs))
        .Add("progress_ms", NumberText(row.progressMs))
        .Add("fast_nodes", row.fast.nodes)
        .Add("table_used", row.tableUsed)
        .Add("table_capacity", row.tableCapacity)
        .Add("peak_mib", NumberText(row.peakMiB));
    if (row.reference) {
        json.Add("reference_ms", NumberText(row.referenceMs))
            .Add("reference_nodes", row.referenceNodes)
            .Add("speedup", NumberText(row.referenceMs / std::max(row.fastMs, 1e-3)))
            .Add("agree", row.agree ? "true" : "false");
    }
    return json.Text();
}

bool ParseArguments(int argc, char** argv, Settings& settings) {
    settings.player.thinkLimitSeconds.reset();
    settings.player.keepTable = true;  // to count the entries in use
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        const bool hasValue = i + 1 < argc;
        if (flag == "--json") {
            settings.json = true;
        } else if (flag == "--max-level" && hasValue) {
            settings.maxLevel = std::atoi(argv[++i]);
        } else if (flag == "--limited-level" && hasValue) {
            settings.limitedLevel = std::atoi(argv[++i]);
        } else if (flag == "--reference-max-level" && hasValue) {
            settings.referenceMaxLevel = std::atoi(argv[++i]);
        } else if (flag == "--time-limit" && hasValue) {
            settings.player.thinkLimitSeconds = std::atof(argv[++i]);
        } else if (flag == "--threads" && hasValue) {
            settings.player.threads = std::atoi(argv[++i]);
        } else if (flag == "--table-bits" && hasValue) {
            settings.player.maxLog2TableEntries = std::atoi(argv[++i]);
        } else if (flag == "--position" && hasValue) {
            settings.positions.emplace_back(argv[++i]);
        } else if (flag == "--trace" && hasValue) {
            settings.tracePath = argv[++i];
        } else {
            return false;
        }
    }
    if (settings.positions.empty()) {
        settings.positions = kDefaultPositions;
    }
    return settings.maxLevel >= 1 && settings.maxLevel <= quorbel::kMaxLevel &&
           settings.limitedLevel >= 0 && settings.limitedLevel <= quorbel::kMaxLevel &&
           settings.referenceMaxLevel <= quorbel::kMaxLevel &&
           settings.player.maxLog2TableEntries >= 10 && settings.player.maxLog2TableEntries <= 30 &&
           settings.player.threads >= 0 &&
           (!settings.player.thinkLimitSeconds || *settings.player.thinkLimitSeconds > 0);
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!ParseArguments(argc, argv, settings)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!settings.tracePath.empty()) {
        settings.trace = std::fopen(settings.tracePath.c_str(), "w");
        if (settings.trace == nullptr) {
            std::fprintf(stderr, "quorbel-bench: cannot write %s\n", settings.tracePath.c_str());
            return 2;
        }
        std::fputs(
            "# quorbel-bench trace: the work items of each level, in the order the threads took"
            " them\n# fields: level candidate place thread start_ms ms\n",
            settings.trace);
    }
    if (!settings.json) {
        PrintHeader();
    }
    bool allAgree = true;
    std::vector<std::string> rows;
    for (const std::string& moves : settings.positions) {
        for (int level = 1; level <= settings.maxLevel; ++level) {
            const Row row = Measure(settings, settings.player, moves, level);
            allAgree = allAgree && row.agree;
            if (settings.json) {
                rows.push_back(JsonRow(row));
            } else {
                PrintRow(row);
            }
        }
    }
    // As the game plays: the levels 1, 2, ... under the thinking-time limit.
    quorbel::PlayerOptions limited = settings.player;
    limited.thinkLimitSeconds =
        settings.player.thinkLimitSeconds.value_or(quorbel::MaxThinkSeconds);
    if (settings.limitedLevel > 0 && !settings.json) {
        PrintLimitedHeader(*limited.thinkLimitSeconds);
    }
    for (const std::string& moves : settings.positions) {
        if (settings.limitedLevel == 0) {
            break;
        }
        Settings noReference = settings;
        noReference.referenceMaxLevel = 0;
        const Row row = Measure(noReference, limited, moves, settings.limitedLevel);
        if (settings.json) {
            rows.push_back(JsonRow(row, limited.thinkLimitSeconds));
        } else {
            PrintLimitedRow(row);
        }
    }
    if (settings.json) {
        std::printf("[\n");
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::printf("  %s%s\n", rows[i].c_str(), i + 1 < rows.size() ? "," : "");
        }
        std::printf("]\n");
    }
    if (settings.trace != nullptr) {
        std::fclose(settings.trace);
    }
    return allAgree ? 0 : 1;
}
