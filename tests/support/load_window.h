#pragma once

#include "flow/game.h"
#include "flow/inbox.h"

namespace quorbel::testing {

// The window's load event for a game without a window, through an inbox as the window hands it.
inline void LoadWindow(Toolkit& toolkit, Game& game) {
    Inbox(toolkit, game).post(Event{Handler::Form_Load});
}

}  // namespace quorbel::testing
