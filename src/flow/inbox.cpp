#include "flow/inbox.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <utility>

namespace quorbel {

namespace {

// A flag raised for a scope, lowered however the scope ends.
class Raised {
  public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

  private:
    bool& flag_;
};

// Runs work and tells whether it ended normally; a failure is reported under what's name and goes
// no further, so that the window and the inbox go on.
template <typename Work>
bool Guarded(std::ostream& errors, const std::string& what, Work&& work) {
    try {
        work();
        return true;
    } catch (const std::exception& failure) {
        errors << "quorbel: " << what << " failed: " << failure.what() << std::endl;
    } catch (...) {
        errors << "quorbel: " << what << " failed" << std::endl;
    }
    return false;
}

}  // namespace

Inbox::Inbox(Toolkit& toolkit, Game& game) : toolkit_(toolkit), game_(game), errors_(&std::cerr) {}

void Inbox::post(Event event, StillDue stillDue) {
    accept({Entry::Kind::Event, event, std::move(stillDue), {}, Aim::Control});
}

void Inbox::post(Work command) {
    accept({Entry::Kind::Command, std::nullopt, {}, std::move(command), Aim::Control});
}

void Inbox::deliver(Work delivery, Aim aim) {
    accept({Entry::Kind::Delivery, std::nullopt, {}, std::move(delivery), aim});
}

// An event or a command runs at once when nothing runs and nothing waits before it, and also when
// the input being delivered made it: that input's turn is its turn.
void Inbox::accept(Entry entry) {
    const bool itsTurn =
        entry.kind != Entry::Kind::Delivery && !running_ && (delivering_ || waiting_.empty());
    if (itsTurn) {
        run(entry);
        return;
    }
    waiting_.push_back(std::move(entry));
    if (!running_) {
        runNextLater();
    }
}

void Inbox::run(Entry& entry) {
    switch (entry.kind) {
        case Entry::Kind::Delivery: {
            const Raised delivering(delivering_);
            Guarded(*errors_, "input", entry.work);
            break;
        }
        case Entry::Kind::Command: {
            const Raised running(running_);
            Guarded(*errors_, "a command of the window", entry.work);
            break;
        }
        case Entry::Kind::Event:
            if (due(entry)) {
                handle(*entry.event);
            }
            break;
    }
    if (!waiting_.empty() && !running_) {
        runNextLater();
    }
}

// A handler that failed has left the move it made unfinished: the pointer and the timer are set as
// every handler leaves them.
void Inbox::handle(const Event& event) {
    const Raised running(running_);
    handling_ = event;
    const bool overBefore = game_.record().IsOver();
    if (!Guarded(*errors_, HandlerName(event), [&] { game_.Handle(event); })) {
        toolkit_.setMousePointer(MousePointer::Default);
        toolkit_.setTimerEnabled(true);
    }
    if (!overBefore && game_.record().IsOver()) {
        dropInputAimedAtFocus();
    }
    handling_.reset();
    if (afterEvent_) {
        Guarded(*errors_, "the window after " + HandlerName(event), [&] { afterEvent_(event); });
    }
}

bool Inbox::due(const Entry& entry) const {
    return !entry.stillDue || entry.stillDue();
}

void Inbox::deliverWaitingReadings() {
    while (!delivering_ && !waiting_.empty() && waiting_.front().kind == Entry::Kind::Delivery &&
           waiting_.front().aim == Aim::Reading) {
        Entry reading = std::move(waiting_.front());
        waiting_.pop_front();
        run(reading);
    }
}

void Inbox::dropInputAimedAtFocus() {
    std::erase_if(waiting_, [](const Entry& entry) {
        return entry.kind == Entry::Kind::Delivery && entry.aim == Aim::Focus;
    });
}

void Inbox::runNextLater() {
    if (nextScheduled_) {
        return;
    }
    nextScheduled_ = true;
    toolkit_.callLater([this] {
        nextScheduled_ = false;
        runNext();
    });
}

// The event loop may call in while a handler waits in it: the handler's end schedules the next.
void Inbox::runNext() {
    if (running_ || delivering_ || waiting_.empty()) {
        return;
    }
    Entry next = std::move(waiting_.front());
    waiting_.pop_front();
    run(next);
}

}  // namespace quorbel
