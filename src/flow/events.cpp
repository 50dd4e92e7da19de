// The window's events and the one dispatch that runs their handlers.

#include <cassert>

#include "flow/game.h"

namespace quorbel {

// One run of an event handler: it may not begin inside another, and once it is done what it
// announced is said.
class Game::HandlerRun {
  public:
    explicit HandlerRun(Game& game) : game_(game) {
        assert(!game_.handlerRunning_ && "a handler of the window began inside another");
        game_.handlerRunning_ = true;
    }
    ~HandlerRun() {
        game_.handlerRunning_ = false;
        game_.sayAnnouncements();
    }
    HandlerRun(const HandlerRun&) = delete;
    HandlerRun& operator=(const HandlerRun&) = delete;

  private:
    Game& game_;
};

std::optional<ControlRef> ClickedControl(const Event& event) {
    switch (event.handler) {
        case Handler::cmdFeld_Click:
            return ControlRef{Control::cmdFeld, event.index};
        case Handler::cmdMenue_Click:
            return ControlRef{Control::cmdMenue, event.index};
        case Handler::optaggressiv_Click:
            return Control::optaggressiv;
        case Handler::optdefensiv_Click:
            return Control::optdefensiv;
        case Handler::Form_Load:
        case Handler::Timer1_Timer:
            break;
    }
    return std::nullopt;
}

std::string HandlerName(const Event& event) {
    switch (event.handler) {
        case Handler::Form_Load:
            return "Form_Load";
        case Handler::cmdFeld_Click:
            return "cmdFeld_Click(" + std::to_string(event.index) + ")";
        case Handler::cmdMenue_Click:
            return "cmdMenü_Click(" + std::to_string(event.index) + ")";
        case Handler::optaggressiv_Click:
            return "optaggressiv_Click";
        case Handler::optdefensiv_Click:
            return "optdefensiv_Click";
        case Handler::Timer1_Timer:
            return "Timer1_Timer";
    }
    return "?";
}

void Game::Handle(const Event& event) {
    const HandlerRun run(*this);
    switch (event.handler) {
        case Handler::Form_Load:
            Form_Load();
            break;
        case Handler::cmdFeld_Click:
            cmdFeld_Click(event.index);
            break;
        case Handler::cmdMenue_Click:
            cmdMenue_Click(event.index);
            break;
        case Handler::optaggressiv_Click:
            optaggressiv_Click();
            break;
        case Handler::optdefensiv_Click:
            optdefensiv_Click();
            break;
        case Handler::Timer1_Timer:
            Timer1_Timer();
            break;
    }
}

}  // namespace quorbel
