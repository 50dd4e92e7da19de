#pragma once

// The window's one inbox, and the one way into the game's handlers.
//
// Whatever presses a control (the mouse, a key, assistive technology, a click from the program)
// and every tick of the timer only posts here, and the inbox hands the game its events through
// Game::Handle, which nothing else can call. What it keeps:
// - One handler at a time: a handler never begins inside another. A handler may wait in the
//   toolkit's event loop (a show holds a frame, the computer thinks, a modal dialog is open);
//   whatever is posted meanwhile waits.
// - What waits is taken in the order given, each entry exactly once, one entry a turn of the
//   event loop.
// - An event that is no longer due at its turn is dropped: the window asks, for a click, whether
//   its control is still shown (a hidden control takes no clicks), and for a tick, whether its
//   timer was set anew meanwhile.
// - Input that the window holds back while it is busy (the desktop's clicks and keys, a screen
//   reader's press) waits in the same line, as a delivery: handed to the window at its turn, it
//   makes its event then, which is handled at once, in the delivery's turn.
// - Input aimed at the focus (a key) that still waits when a game ends was given before the end,
//   at the game: it is dropped, so that it can never start the next game. A key that only reads
//   the game is kept: it is answered.
// - Keys that only read the game wait only for what was given before them, and for a state
//   that stands still: when a handler waits in the computer's think, the readings at the front
//   of the line are answered then, without waiting for the handler's end.
// - A handler that fails is reported on standard error by its name, and the inbox goes on.
// - The close box drops everything that waits.

#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>

#include "flow/game.h"
#include "flow/toolkit.h"

namespace quorbel {

class Inbox {
  public:
    using Work = std::function<void()>;
    using StillDue = std::function<bool()>;
    // Where input goes at its turn: to the control it was given to (a click, a screen reader's
    // press), or to whatever has the focus then (a key); a reading is a key that changes nothing.
    enum class Aim { Control, Focus, Reading };

    Inbox(Toolkit& toolkit, Game& game);
    Inbox(const Inbox&) = delete;
    Inbox& operator=(const Inbox&) = delete;

    // An event for the game; stillDue, when given, is asked at its turn.
    void post(Event event, StillDue stillDue = {});
    // A command of the window that is no event of the game (a step of the level control): it
    // waits its turn as the events do.
    void post(Work command);
    // Input to hand to the window at its turn.
    void deliver(Work delivery, Aim aim);
    // Called after each event the game handled, in its turn: the window moves the focus on.
    void onHandled(std::function<void(const Event&)> after) { afterEvent_ = std::move(after); }

    // Something runs or waits: input given now has to wait its turn.
    bool busy() const { return running_ || !waiting_.empty(); }
    // A handler or a command runs.
    bool running() const { return running_; }
    // Something waits its turn.
    bool waiting() const { return !waiting_.empty(); }
    // The event whose handler runs, if one does.
    const std::optional<Event>& handling() const { return handling_; }

    // The running handler waits while the game stands still (the computer thinks): the readings
    // at the front of the line are delivered now.
    void deliverWaitingReadings();

    // The window has closed: what waits is dropped. (What comes later finds its control hidden.)
    void dropWaiting() { waiting_.clear(); }

    // Where failures are reported; standard error unless a test says otherwise.
    void reportFailuresTo(std::ostream& errors) { errors_ = &errors; }

  private:
    struct Entry {
        enum class Kind { Event, Command, Delivery } kind;
        std::optional<Event> event;  // of Kind::Event
        StillDue stillDue;
        Work work;  // a command or a delivery
        Aim aim = Aim::Control;
    };

    void accept(Entry entry);
    void run(Entry& entry);
    void handle(const Event& event);
    bool due(const Entry& entry) const;
    void dropInputAimedAtFocus();
    void runNextLater();
    void runNext();

    Toolkit& toolkit_;
    Game& game_;
    std::deque<Entry> waiting_;
    std::function<void(const Event&)> afterEvent_;
    std::ostream* errors_;
    std::optional<Event> handling_;
    bool running_ = false;     // a handler or a command runs
    bool delivering_ = false;  // held input is being delivered
    bool nextScheduled_ = false;
};

}  // namespace quorbel
