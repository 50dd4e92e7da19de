#include "ai/think_progress.h"

#include <algorithm>

namespace quorbel {

namespace {

// Only the decision fills the bar.
constexpr double kMostBeforeTheEnd = 0.995;

// The share at now on the straight way from one point to another.
double Between(double fromShare, SteadyTime fromTime, double toShare, SteadyTime toTime,
               SteadyTime now) {
    const double span = SecondsBetween(fromTime, toTime);
    if (span <= 0) {
        return toShare;
    }
    return fromShare +
           (toShare - fromShare) * std::clamp(SecondsBetween(fromTime, now) / span, 0.0, 1.0);
}

}  // namespace

ThinkProgress::ThinkProgress(SteadyTime start, std::optional<SteadyTime> deadline, Show show)
    : show_(std::move(show)),
      limit_(deadline.value_or(start + kLimitWithoutDeadline)),
      from_{start, 0} {}

// How the threads share the bar: every member but nextShow_ is read and written under lock_, which
// also keeps the calls of show_ in the order of the shares. nextShow_ only spares a thread the lock
// when the next update is not yet due; it is checked again under the lock.
void ThinkProgress::LevelBegins(SteadyTime now, double plannedSeconds) {
    const std::lock_guard guard(lock_);
    from_ = {now, std::max(ShareAt(now), shown_)};
    planEnd_.reset();
    if (plannedSeconds > 0) {
        const SteadyTime end = std::min(limit_, now + SecondsAsDuration(plannedSeconds));
        const double plan = SecondsBetween(now, end);
        const double late = kLateShare * SecondsBetween(end, limit_);
        planEnd_ = Point{end, from_.share + (1 - from_.share) * plan / (plan + late)};
    }
}

void ThinkProgress::Tick(SteadyTime now) {
    const SteadyTime::rep ticks = now.time_since_epoch().count();
    if (ticks < nextShow_.load(std::memory_order_relaxed)) {
        return;
    }
    const std::lock_guard guard(lock_);
    if (ticks < nextShow_.load(std::memory_order_relaxed)) {
        return;  // another thread has just shown it
    }
    nextShow_.store((now + kShowInterval).time_since_epoch().count(), std::memory_order_relaxed);
    shown_ = std::max(shown_, std::min(ShareAt(now), kMostBeforeTheEnd));
    show_(shown_);
}

void ThinkProgress::Finish() {
    const std::lock_guard guard(lock_);
    shown_ = 1;
    show_(shown_);
}

double ThinkProgress::ShareAt(SteadyTime now) const {
    if (planEnd_ && now < planEnd_->at) {
        return Between(from_.share, from_.at, planEnd_->share, planEnd_->at, now);
    }
    const Point& start = planEnd_ ? *planEnd_ : from_;
    return Between(start.share, start.at, 1, limit_, now);
}

}  // namespace quorbel
