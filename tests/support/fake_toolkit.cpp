#include "support/fake_toolkit.h"

#include <utility>

namespace quorbel::testing {

namespace {

// The design-time state of the window the logic relies on.
bool visibleAtStart(ControlRef ref) {
    switch (ref.control) {
        case Control::cmdFeld:
            return false;
        case Control::cmdMenue:
            return ref.index == 0 || ref.index >= 4;
        default:
            return true;
    }
}

}  // namespace

FakeToolkit::FakeToolkit()
    : pacer([this](const std::vector<ControlRef>& changed) {
          if (!logCalls) {
              return;
          }
          const std::chrono::duration<double, std::milli> at = pacer.now().time_since_epoch();
          for (const ControlRef ref : changed) {
              screen.push_back({at.count(), ref, color(ref)});
          }
      }) {
    pacer.useVirtualClock();
    captions_.emplace(Control::lblStaerke, std::string(1, '1'));
}

void FakeToolkit::setCaption(Control control, std::string_view text) {
    captions_[control] = std::string(text);
    if (logCalls) {
        log("caption " + objectName(control) + "=" + std::string(text));
    }
}

std::string FakeToolkit::caption(Control control) const {
    const auto it = captions_.find(control);
    return it == captions_.end() ? std::string() : it->second;
}

void FakeToolkit::setColor(ControlRef ref, Color color) {
    colors_[key(ref)] = color;
    if (pacer.running() && visible(ref)) {
        pacer.changed(ref);
    }
    if (logCalls) {
        log("color " + objectName(ref) + "=" + std::to_string(color));
    }
}

Color FakeToolkit::color(ControlRef ref) const {
    const auto it = colors_.find(key(ref));
    return it == colors_.end() ? 0 : it->second;
}

void FakeToolkit::setVisible(ControlRef ref, bool visible) {
    visible_[key(ref)] = visible;
    if (logCalls) {
        log(std::string(visible ? "show " : "hide ") + objectName(ref));
    }
}

bool FakeToolkit::visible(ControlRef ref) const {
    const auto it = visible_.find(key(ref));
    return it == visible_.end() ? visibleAtStart(ref) : it->second;
}

void FakeToolkit::repaintNow(ControlRef ref) {
    ++repaints_[key(ref)];
    if (pacer.running() && visible(ref)) {
        pacer.repainted(ref);
    }
    if (logCalls) {
        log("repaint " + objectName(ref));
    }
}

int FakeToolkit::repaints(ControlRef ref) const {
    const auto it = repaints_.find(key(ref));
    return it == repaints_.end() ? 0 : it->second;
}

void FakeToolkit::setTimerEnabled(bool enabled) {
    timerEnabled = enabled;
    if (logCalls) {
        log(enabled ? "timer on" : "timer off");
    }
}

void FakeToolkit::setTimerInterval(int milliseconds) {
    timerInterval = milliseconds;
    if (logCalls) {
        log("interval " + std::to_string(milliseconds));
    }
}

void FakeToolkit::setMousePointer(MousePointer p) {
    pointer = p;
    if (logCalls) {
        log("pointer " + std::to_string(static_cast<int>(p)));
    }
}

void FakeToolkit::setProgressMax(double maximum) {
    progressMax = maximum;
    if (logCalls) {
        log("progress max " + std::to_string(static_cast<long long>(maximum)));
    }
}

void FakeToolkit::setProgressValue(double value) {
    progressValue = value;
    if (logCalls) {
        log("progress " + std::to_string(static_cast<long long>(value)));
    }
}

void FakeToolkit::runWhileBusy(const std::function<void()>& work) {
    ++busyRuns;
    if (duringThink) {
        std::exchange(duringThink, nullptr)();
    }
    work();
}

void FakeToolkit::beginShow(ShowPace pace) {
    pacer.begin(pace);
    if (duringShow) {
        std::exchange(duringShow, nullptr)();
    }
}

void FakeToolkit::runLater() {
    while (!later.empty()) {
        const std::function<void()> next = std::move(later.front());
        later.pop_front();
        next();
    }
}

std::string FakeToolkit::textOf(const Texts& texts, ControlRef ref) {
    const auto it = texts.find(key(ref));
    return it == texts.end() ? std::string() : it->second;
}

double FakeToolkit::random() {
    if (!scriptedRandom.empty()) {
        const double r = scriptedRandom.front();
        scriptedRandom.pop_front();
        return r;
    }
    if (seededRandom) {
        return static_cast<double>((*seededRandom)() >> 11) * 0x1.0p-53;
    }
    return runtime_.random();
}

void FakeToolkit::reseedFromTimeOfDay() {
    ++reseeds;
    if (!seededRandom) {
        runtime_.reseedFromTimeOfDay();
    }
}

int FakeToolkit::count(const std::string& prefix) const {
    int n = 0;
    for (const auto& call : calls) {
        n += call.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
}

}  // namespace quorbel::testing
