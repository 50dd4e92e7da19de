// The computer's move: the computer player decides on the record at the chosen level, and its
// think is shown in the window.

#include "ai/runtime.h"
#include "flow/game.h"

namespace quorbel {

// The computer player's think on the window: the thinking time in lblTime, the pointer, the
// progress bar, and its messages as the game's own.
class Game::ThinkDisplay final : public PlayerHost {
  public:
    explicit ThinkDisplay(Game& game) : game_(game), toolkit_(game.toolkit_) {}

    void clearThinkTime() override {
        toolkit_.setCaption(Control::lblTime, "");
        toolkit_.repaintNow(Control::lblTime);
    }
    void showBusyPointer() override { toolkit_.setMousePointer(MousePointer::Hourglass); }
    void setProgressMax(double maximum) override { toolkit_.setProgressMax(maximum); }
    void setProgressValue(double value) override { toolkit_.setProgressValue(value); }
    void showThinkTime(double days) override {
        toolkit_.setCaption(Control::lblTime, FormatElapsed(days));
    }
    void showMessage(std::string_view text) override { game_.ShowMessage(text); }
    void runWhileBusy(const std::function<void()>& work) override { toolkit_.runWhileBusy(work); }
    double random() override { return toolkit_.random(); }
    void reseedFromTimeOfDay() override { toolkit_.reseedFromTimeOfDay(); }
    double now() override { return toolkit_.now(); }

  private:
    Game& game_;
    Toolkit& toolkit_;
};

// What the human's move changed is said before the computer starts thinking, not after.
void Game::MakeCompMove() {
    sayAnnouncements();
    ThinkDisplay display(*this);
    player_.MakeCompMove(rec_, settings_.level, display);
}

}  // namespace quorbel
