#include "headless_run.h"

#include <charconv>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>

#include "ai/candidate_choice.h"
#include "ai/quiet_host.h"

namespace quorbel::tools {

namespace {

// Shows nothing; keeps the moment the progress bar would first have moved.
class TimingHost : public QuietHost {
  public:
    void StartClock() { start_ = std::chrono::steady_clock::now(); }

    // From StartClock until the progress bar first showed a value other than 0.
    std::optional<double> MillisecondsToProgress() const {
        const std::lock_guard lock(progressLock_);
        return toProgress_;
    }

    void setProgressValue(double value) override {
        const std::lock_guard lock(progressLock_);
        if (value > 0 && !toProgress_) {
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start_;
            toProgress_ = took.count();
        }
    }

  private:
    std::chrono::steady_clock::time_point start_;
    mutable std::mutex progressLock_;  // the search reports from its threads
    std::optional<double> toProgress_;
};

}  // namespace

MovesError Decide(MoveDriver& driver, std::string_view moves, int level, Decision& decision) {
    TimingHost host;
    GameRecord rec;
    rec.Defensive = true;  // as a game starts
    const MovesError error = SetUpFromMoves(rec, moves);
    if (error != MovesError::None) {
        return error;
    }
    const auto start = std::chrono::steady_clock::now();
    host.StartClock();
    driver.MakeCompMove(rec, level, host);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    decision.milliseconds = took.count();
    decision.millisecondsToProgress = host.MillisecondsToProgress().value_or(-1);
    decision.report = driver.LastReport();
    decision.record = rec;
    return MovesError::None;
}

std::map<int, double> PlayOdds(const Decision& decision) {
    const MoveReport& report = decision.report;
    switch (report.exit) {
        case MoveExit::Opening:
            return {{3, 1.0 / 3}, {4, 1.0 / 3}, {5, 1.0 / 3}};
        case MoveExit::Choice:
            return ChoiceOdds(decision.record, report.remaining);
        default:
            return {{report.column, 1.0}};
    }
}

std::string NumberText(double value) {
    char text[32];
    char* const end = std::to_chars(text, text + sizeof text, value).ptr;
    return {text, end};
}

}  // namespace quorbel::tools
