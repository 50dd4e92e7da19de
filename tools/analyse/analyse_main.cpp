// quorbel-analyse: reads lines "MOVES LEVEL" and writes, for each, one line of JSON with the
// computer player's decision on that position at that level, the computer being the side to move.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
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
    "Reads lines \"MOVES LEVEL\" from standard input: MOVES the columns 1-7 played from the empty\n"
    "board, red first (- for the empty board), LEVEL 1 to 10. Writes one JSON object per line.\n";

std::optional<int> WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
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
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        const bool hasValue = i + 1 < argc;
        if (flag == "--time-limit" && hasValue) {
            options.thinkLimitSeconds = std::atof(argv[++i]);
        } else if (flag == "--threads" && hasValue) {
            options.threads = std::atoi(argv[++i]);
        } else if (flag == "--table-bits" && hasValue) {
            options.maxLog2TableEntries = std::atoi(argv[++i]);
        } else {
            std::fputs(kUsage, flag == "--help" ? stdout : stderr);
            return flag == "--help" ? 0 : 2;
        }
    }
    if ((options.thinkLimitSeconds && *options.thinkLimitSeconds <= 0) ||
        options.maxLog2TableEntries < 10 || options.maxLog2TableEntries > 30 ||
        options.threads < 0) {
        std::fputs(kUsage, stderr);
        return 2;
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
