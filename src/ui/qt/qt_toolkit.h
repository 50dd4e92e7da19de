#pragma once

// The toolkit interface on Qt widgets: it drives the controls of one main window.

#include <functional>
#include <memory>
#include <optional>

#include "ai/runtime.h"
#include "flow/toolkit.h"
#include "ui/show_pacer.h"

namespace quorbel {

class frmQuorbel;
class frmInfo;

class QtToolkit : public Toolkit {
  public:
    // The progress bar's steps for each unit of the logic's maximum.
    static constexpr int kProgressStepsPerUnit = 1000;

    // Only keeps the window; its controls are looked up when they are first used.
    explicit QtToolkit(frmQuorbel& window);
    ~QtToolkit() override;

    void setCaption(Control control, std::string_view text) override;
    void setColor(ControlRef ref, Color color) override;
    void setVisible(ControlRef ref, bool visible) override;
    void repaintNow(ControlRef ref) override;

    // What a control shows, for the window itself and its tests; the game never asks.
    std::string caption(Control control) const;
    bool isSelected(Control option) const;
    Color color(ControlRef ref) const;
    bool isVisible(ControlRef ref) const;

    void beginShow(ShowPace pace) override;
    void endShow() override;
    void setTimerEnabled(bool enabled) override;
    void setTimerInterval(int milliseconds) override;
    void setMousePointer(MousePointer pointer) override;
    void setProgressMax(double maximum) override;
    void setProgressValue(double value) override;
    void showInfoDialog() override;
    void closeWindow() override;
    void runWhileBusy(const std::function<void()>& work) override;
    // The computer thinks: a handler waits in runWhileBusy.
    bool thinking() const { return thinking_; }
    void setAccessibleName(ControlRef ref, std::string_view name) override;
    void setAccessibleDescription(ControlRef ref, std::string_view description) override;
    void announce(std::string_view text) override;
    void callLater(std::function<void()> work) override;
    double random() override { return runtime_.random(); }
    void reseedFromTimeOfDay() override { runtime_.reseedFromTimeOfDay(); }
    double now() override { return SystemRuntime::now(); }

    // Hands Timer1's ticks to the window's inbox from now on, as Timer1_Timer events.
    void postTicks();
    ShowPacer& pacer() { return pacer_; }
    // The info dialog once it has been shown, else null.
    frmInfo* infoDialog() const { return info_.get(); }

  private:
    void restartTimer();
    void present(const std::vector<ControlRef>& changed);
    void holdFrame(ShowPacer::Clock::time_point until);
    void tickFallsDue();

    frmQuorbel& window_;
    SystemRuntime runtime_;
    ShowPacer pacer_;
    bool thinking_ = false;
    bool timerEnabled_ = true;  // Timer1 is enabled from creation, silent while its interval is 0
    int timerInterval_ = 0;
    int timerStarts_ = 0;  // and stops
    std::optional<int> tickWaitingAtStarts_;
    std::unique_ptr<frmInfo> info_;
};

}  // namespace quorbel
