#include "headless_run.h"

#include <charconv>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>

#include "ai/candidate_choice.h"
#include "flow/game.h"
#include "ui/runtime.h"
#include "ui/toolkit.h"

namespace quorbel::tools {

namespace {

// Keeps the captions the driver reads and writes and the moment of the first progress shown; shows
// nothing.
class HeadlessToolkit : public Toolkit {
  public:
    void StartClock() { start_ = std::chrono::steady_clock::now(); }

    // From StartClock until the progress bar first showed a value other than 0.
    std::optional<double> MillisecondsToProgress() const {
        const std::lock_guard lock(progressLock_);
        return toProgress_;
    }

    void setCaption(Control control, std::string_view text) override {
        captions_[control] = std::string(text);
    }
    std::string caption(Control control) const override {
        const auto it = captions_.find(control);
        return it == captions_.end() ? std::string() : it->second;
    }
    bool isSelected(Control /*option*/) const override { return false; }
    void setColor(ControlRef /*ref*/, Color /*color*/) override {}
    Color color(ControlRef /*ref*/) const override { return 0; }
    void setVisible(ControlRef /*ref*/, bool /*visible*/) override {}
    bool isVisible(ControlRef /*ref*/) const override { return false; }
    void repaintNow(ControlRef /*ref*/) override {}
    void beginShow(ShowPace /*pace*/) override {}
    void endShow() override {}
    void setTimerEnabled(bool /*enabled*/) override {}
    void setTimerInterval(int /*milliseconds*/) override {}
    void setMousePointer(MousePointer /*pointer*/) override {}
    void setProgressMax(double /*maximum*/) override {}
    void setProgressValue(double value) override {
        const std::lock_guard lock(progressLock_);
        if (value > 0 && !toProgress_) {
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start_;
            toProgress_ = took.count();
        }
    }
    void showInfoDialog() override {}
    void closeWindow() override {}
    void runWhileBusy(const std::function<void()>& work) override { work(); }
    void setAccessibleName(ControlRef /*ref*/, std::string_view /*name*/) override {}
    void setAccessibleDescription(ControlRef /*ref*/, std::string_view /*text*/) override {}
    void announce(std::string_view /*text*/) override {}
    // Nothing is posted without a window: the runner calls the driver directly.
    void callLater(std::function<void()> /*work*/) override {}
    double random() override { return runtime_.random(); }
    void reseedFromTimeOfDay() override { runtime_.reseedFromTimeOfDay(); }
    double now() override { return SystemRuntime::now(); }

  private:
    std::map<Control, std::string> captions_;
    SystemRuntime runtime_;
    std::chrono::steady_clock::time_point start_;
    mutable std::mutex progressLock_;  // the search reports from its threads
    std::optional<double> toProgress_;
};

}  // namespace

MovesError Decide(MoveDriver& driver, std::string_view moves, int level, Decision& decision) {
    HeadlessToolkit toolkit;
    Game game(toolkit, driver);
    game.record().Defensive = true;
    const MovesError error = SetUpFromMoves(game.record(), moves);
    if (error != MovesError::None) {
        return error;
    }
    toolkit.setCaption(Control::lblStaerke, std::to_string(level));
    const auto start = std::chrono::steady_clock::now();
    toolkit.StartClock();
    game.MakeCompMove();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    decision.milliseconds = took.count();
    decision.millisecondsToProgress = toolkit.MillisecondsToProgress().value_or(-1);
    decision.report = driver.LastReport();
    decision.record = game.record();
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
