#pragma once

// A host for the computer player that shows nothing: the search runs on the calling thread, with
// the real generator and clock. For the analysis tool, the benchmark and the tests.

#include "ai/computer_player.h"
#include "ai/runtime.h"

namespace quorbel {

class QuietHost : public PlayerHost {
  public:
    void clearThinkTime() override {}
    void showBusyPointer() override {}
    void setProgressMax(double /*maximum*/) override {}
    void setProgressValue(double /*value*/) override {}
    void showThinkTime(double /*days*/) override {}
    void showMessage(std::string_view /*text*/) override {}
    void runWhileBusy(const std::function<void()>& work) override { work(); }
    double random() override { return runtime_.random(); }
    void reseedFromTimeOfDay() override { runtime_.reseedFromTimeOfDay(); }
    double now() override { return SystemRuntime::now(); }

  private:
    SystemRuntime runtime_;
};

}  // namespace quorbel
