#include "ui/inbox.h"

#include <utility>

namespace quorbel {

namespace {

// A flag raised for a scope, lowered however the scope ends: a failure that a handler passes on
// must not stop the inbox for good.
class Raised {
  public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

  private:
    bool& flag_;
};

}  // namespace

void Inbox::post(ControlRef source, Work command) {
    accept({Entry::Kind::Command, source, std::move(command)});
}

void Inbox::post(Work command) {
    accept({Entry::Kind::Command, std::nullopt, std::move(command)});
}

void Inbox::hold(Work delivery) {
    accept({Entry::Kind::Input, std::nullopt, std::move(delivery)});
}

// A command runs at once when nothing runs and nothing waits before it, and also when the input
// being delivered made it: that input's turn is its turn.
void Inbox::accept(Entry entry) {
    const bool itsTurn =
        entry.kind == Entry::Kind::Command && !running_ && (delivering_ || waiting_.empty());
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
    if (entry.kind == Entry::Kind::Input) {
        const Raised delivering(delivering_);
        entry.work();
    } else if (!entry.source || toolkit_.isVisible(*entry.source)) {
        const Raised running(running_);
        entry.work();
    }
    if (!waiting_.empty() && !running_) {
        runNextLater();
    }
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

// The event loop may call in while a command waits in it: the command's end schedules the next.
void Inbox::runNext() {
    if (running_ || delivering_ || waiting_.empty()) {
        return;
    }
    Entry next = std::move(waiting_.front());
    waiting_.pop_front();
    run(next);
}

}  // namespace quorbel
