// quorbel-analyse: reads lines "MOVES LEVEL" and writes, for each, one line of JSON with the
// computer player's decision on that position at that level, the computer being the side to move.

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "headless_run.h"
#include "json_text.h"

namespace {

using quorbel::tools::JsonList;
using quorbel::tools::JsonObject;
using quorbel::tools::NumberText;
using quorbel::tools::Quoted;

constexpr const char* kUsage =
    "usage: quorbel-analyse [--time-limit SECONDS] [--threads N] [--table-bits B]\n"
    "       quorbel-analyse --help | --version\n"
    "Reads lines \"MOVES LEVEL\" from standard input: MOVES the columns 1-7 played from the empty\n"
    "board, red first (- for the empty board), LEVEL 1 to 10. Writes one JSON object per line.\n"
    "\n"
    "  --time-limit SECONDS  search levels 1, 2, ... as the game does, within SECONDS (> 0)\n"
    "  --threads N           threads for the look-ahead (default 0: one per core)\n"
    "  --table-bits B        at most 2^B table entries of 16 bytes, B 10 to 30 (default 25)\n"
    "  --help                show this help and exit\n"
    "  --version             show the version and exit\n";

constexpr int kUsageStatus = 2;  // a mistake on the command line

std::optional<int> WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

std::optional<double> PositiveSeconds(const std::string& text) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds <= 0) {
        return std::nullopt;
    }
    return seconds;
}

// Sets the option a flag with a value stands for; false when the value is not one it takes.
bool SetOption(std::string_view flag, const std::string& value, quorbel::PlayerOptions& options) {
    if (flag == "--time-limit") {
        options.thinkLimitSeconds = PositiveSeconds(value);
        return options.thinkLimitSeconds.has_value();
    }
    const std::optional<int> number = WholeNumber(value);
    if (flag == "--threads" && number) {
        options.threads = *number;
        return true;
    }
    if (flag == "--table-bits" && number && *number >= 10 && *number <= 30) {
        options.maxLog2TableEntries = *number;
        return true;
    }
    return false;
}

// Writes the mistake, joined from its parts, to stderr; the exit status for it.
int UsageError(std::initializer_list<std::string_view> parts) {
    std::string problem;
    for (const std::string_view part : parts) {
        problem += part;
    }
    std::fprintf(stderr, "quorbel-analyse: %s\nTry 'quorbel-analyse --help'.\n", problem.c_str());
    return kUsageStatus;
}

// Reads the command line into options; the exit status when the program ends without reading
// positions (after --help, --version or a mistake).
std::optional<int> ReadCommandLine(std::span<char*> args, quorbel::PlayerOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string flag = args[i];
        if (flag == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (flag == "--version") {
            std::puts("quorbel-analyse " QUORBEL_VERSION);
            return 0;
        }
        if (flag != "--time-limit" && flag != "--threads" && flag != "--table-bits") {
            const std::string_view kind =
                flag.starts_with('-') ? "unknown option '" : "unexpected argument '";
            return UsageError({kind, flag, "'"});
        }
        if (i + 1 == args.size()) {
            return UsageError({"option '", flag, "' needs a value"});
        }
        const std::string value = args[++i];
        if (!SetOption(flag, value, options)) {
            return UsageError({"invalid value '", value, "' for option '", flag, "'"});
        }
    }
    return std::nullopt;
}

std::string ErrorObject(const std::string& moves, std::optional<int> level,
                        std::string_view error) {
    JsonObject json;
    json.Add("moves", Quoted(moves));
    if (level) {
        json.Add("level", *level);
    }
    return json.Add("error", Quoted(error)).Text();
}

std::string DecisionObject(const std::string& moves, int level,
                           const quorbel::tools::Decision& decision, bool limited) {
    const quorbel::MoveReport& report = decision.report;
    JsonObject json;
    json.Add("moves", Quoted(moves)).Add("level", level);
    if (limited) {
        json.Add("completed_level", report.completedLevel);
    }
    json.Add("exit", Quoted(quorbel::ExitName(report.exit)))
        .Add("filtered", JsonList(report.filtered));
    // Keyed by column.
    JsonObject verdicts;
    JsonObject lines;
    for (const quorbel::CandidateReport& c : report.examined) {
        const std::string column = std::to_string(c.column);
        verdicts.Add(column, Quoted(quorbel::VerdictName(c.verdict)));
        lines.Add(column, JsonList(std::array{c.lines[2], c.lines[3], c.lines[4]}));
    }
    JsonObject choice;
    for (const auto& [column, chance] : quorbel::tools::PlayOdds(decision)) {
        choice.Add(std::to_string(column), NumberText(chance));
    }
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.3f", decision.milliseconds);
    return json.Add("verdicts", verdicts.Text())
        .Add("enemy_lines", lines.Text())
        .Add("choice", choice.Text())
        .Add("ms", ms)
        .Text();
}

std::string Answer(quorbel::MoveDriver& driver, const std::string& line, bool limited) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) {
        fields.push_back(word);
    }
    const std::string moves = fields.empty() ? std::string() : fields[0];
    const std::optional<int> level = fields.size() >= 2 ? WholeNumber(fields[1]) : std::nullopt;
    if (fields.size() != 2) {
        return ErrorObject(moves, level, "expected MOVES LEVEL");
    }
    if (!level || *level < 1 || *level > quorbel::kMaxLevel) {
        return ErrorObject(moves, level, "level outside 1..10");
    }
    quorbel::tools::Decision decision;
    const quorbel::MovesError error = quorbel::tools::Decide(driver, moves, *level, decision);
    if (error != quorbel::MovesError::None) {
        return ErrorObject(moves, level, quorbel::ErrorText(error));
    }
    return DecisionObject(moves, *level, decision, limited);
}

}  // namespace

int main(int argc, char** argv) {
    quorbel::PlayerOptions options;
    options.thinkLimitSeconds.reset();
    if (const std::optional<int> status =
            ReadCommandLine(std::span(argv, static_cast<std::size_t>(argc)).subspan(1), options)) {
        return *status;
    }
    quorbel::MoveDriver driver(options);
    for (std::string line; std::getline(std::cin, line);) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        std::cout << Answer(driver, line, options.thinkLimitSeconds.has_value()) << std::endl;
    }
    return 0;
}
