#pragma once

// A toolkit without a screen: it keeps every caption, colour and visibility the logic sets, counts
// repaints and records each call in order, so tests can check both the end state and the sequence.
// Shows are paced as on a display, on a clock that moves on instead of sleeping; what a display
// would have been given is kept in `screen`.

#include <deque>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ai/runtime.h"
#include "flow/toolkit.h"
#include "ui/show_pacer.h"

namespace quorbel::testing {

class FakeToolkit : public Toolkit {
  public:
    FakeToolkit();

    void setCaption(Control control, std::string_view text) override;
    void setColor(ControlRef ref, Color color) override;
    void setVisible(ControlRef ref, bool visible) override;
    void repaintNow(ControlRef ref) override;
    void beginShow(ShowPace pace) override;
    void endShow() override { pacer.end(); }
    void setTimerEnabled(bool enabled) override;
    void setTimerInterval(int milliseconds) override;
    void setMousePointer(MousePointer pointer) override;
    void setProgressMax(double maximum) override;
    void setProgressValue(double value) override;
    void showInfoDialog() override {
        ++infoDialogsShown;
        log("info");
    }
    void closeWindow() override {
        closed = true;
        log("close");
    }
    void runWhileBusy(const std::function<void()>& work) override;
    void setAccessibleName(ControlRef ref, std::string_view name) override {
        accessibleNames[key(ref)] = std::string(name);
    }
    void setAccessibleDescription(ControlRef ref, std::string_view description) override {
        accessibleDescriptions[key(ref)] = std::string(description);
    }
    void announce(std::string_view text) override { announced.emplace_back(text); }
    void callLater(std::function<void()> work) override { later.push_back(std::move(work)); }
    double random() override;
    void reseedFromTimeOfDay() override;
    double now() override { return clockDays; }

    // What the screen would show.
    std::string caption(Control control) const;
    Color color(ControlRef ref) const;
    bool visible(ControlRef ref) const;
    int repaints(ControlRef ref) const;
    // Number of logged calls that start with prefix.
    int count(const std::string& prefix) const;
    void clearLog() { calls.clear(); }
    // What the event loop would do next: every call asked for, also those asked for meanwhile.
    void runLater();
    std::string accessibleName(ControlRef ref) const { return textOf(accessibleNames, ref); }
    std::string accessibleDescription(ControlRef ref) const {
        return textOf(accessibleDescriptions, ref);
    }

    // Recorded state.
    bool timerEnabled = true;
    int timerInterval = 0;
    MousePointer pointer = MousePointer::Default;
    double progressMax = 100;
    double progressValue = 0;
    int infoDialogsShown = 0;
    bool closed = false;
    int busyRuns = 0;
    std::vector<std::string> calls;  // e.g. "caption lblZug=Mensch ist am Zug", "timer off"
    bool logCalls = true;            // long runs switch the call log off and `screen` too

    // Every colour a display was given during shows, with the paced clock's time in milliseconds.
    struct Presented {
        double ms;
        ControlRef ref;
        Color color;
    };
    std::vector<Presented> screen;
    ShowPacer pacer;

    // What assistive technology would read and hear, and the calls waiting for the event loop.
    using Texts = std::map<std::pair<Control, int>, std::string>;
    Texts accessibleNames, accessibleDescriptions;
    std::vector<std::string> announced;
    std::deque<std::function<void()>> later;
    // Input that a window would take while a show or a think waits in its event loop: called once,
    // as the next show begins or the next busy run starts.
    std::function<void()> duringShow, duringThink;

    // Run-time services: scripted draws first, then the real generator, or a seeded one that
    // ignores the clock when a test must be repeatable.
    std::deque<double> scriptedRandom;
    std::optional<std::mt19937_64> seededRandom;
    double clockDays = 45000.5;
    int reseeds = 0;

  private:
    void log(std::string entry) { calls.push_back(std::move(entry)); }
    static std::string textOf(const Texts& texts, ControlRef ref);

    std::map<Control, std::string> captions_;
    using Key = std::pair<Control, int>;
    static Key key(ControlRef ref) { return {ref.control, ref.index}; }
    std::map<Key, Color> colors_;
    std::map<Key, bool> visible_;
    std::map<Key, int> repaints_;
    SystemRuntime runtime_;
};

}  // namespace quorbel::testing
