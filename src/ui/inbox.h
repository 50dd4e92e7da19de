#pragma once

// The window's one inbox. Whatever presses a control (the mouse, a key, assistive technology, a
// programmatic click) and every tick of the timer only posts a command here, and a command runs
// only when no other one runs: no handler ever begins inside another. A handler may wait in the
// toolkit's event loop (a show holds a frame, the computer thinks, a modal dialog is open); what
// is posted meanwhile runs after it, each command once, in the order given, one a turn of the
// event loop.
//
// Input that the toolkit holds back while the window is busy (mouse and key events, which must
// reach their control or the focus of their turn as they are) waits in the same line: it is
// delivered at its turn, and the command it makes runs at once then.

#include <deque>
#include <functional>
#include <optional>

#include "ui/toolkit.h"

namespace quorbel {

class Inbox {
  public:
    using Work = std::function<void()>;

    explicit Inbox(Toolkit& toolkit) : toolkit_(toolkit) {}
    Inbox(const Inbox&) = delete;
    Inbox& operator=(const Inbox&) = delete;

    // The command of a control. It is dropped when the control is hidden at its turn, as a click
    // on a hidden control would be.
    void post(ControlRef source, Work command);
    // A command of no control: a tick of the timer, a step of the level.
    void post(Work command);
    // Input to deliver at its turn.
    void hold(Work delivery);

    // A command runs or something waits: input given now has to wait its turn.
    bool busy() const { return running_ || !waiting_.empty(); }

    // The window has closed: what waits is dropped. (What comes later finds its control hidden.)
    void dropWaiting() { waiting_.clear(); }

  private:
    struct Entry {
        enum class Kind { Command, Input } kind;
        std::optional<ControlRef> source;
        Work work;
    };

    void accept(Entry entry);
    void run(Entry& entry);
    void runNextLater();
    void runNext();

    Toolkit& toolkit_;
    std::deque<Entry> waiting_;
    bool running_ = false;     // a command runs
    bool delivering_ = false;  // held input is being delivered
    bool nextScheduled_ = false;
};

}  // namespace quorbel
