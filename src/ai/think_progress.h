#pragma once

// The progress bar while the computer thinks: the share of the think done, from 0 to 1. It only
// moves forward, moves at every update while the think goes on, and is 1 once the decision is made.
//
// The share follows a schedule that is laid anew whenever a level begins, from where the bar
// stands: a straight way to the share expected at the end of the plan (the time policy's plan for
// this level and the levels it will go on to), then a straight way to 1 at the time limit, which no
// think outlasts. The share expected at the end of the plan keeps room for the plan running late,
// in proportion to how much later than planned the think could end:
//
//     expected = start + (1 - start) * plan / (plan + kLateShare * (limit - end of plan))
//
// So the bar never jumps back when a plan is revised, and still moves when a level takes longer
// than planned. Without a plan (the first levels are too short to tell) the bar heads straight for
// the limit.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

#include "ai/steady_time.h"

namespace quorbel {

class ThinkProgress {
  public:
    using Show = std::function<void(double share)>;

    // Updates of the bar come no more often than this: fine enough for the eye.
    static constexpr SteadyTime::duration kShowInterval = std::chrono::milliseconds(50);
    // How late a plan is expected to run, as a share of the time from its end to the limit.
    static constexpr double kLateShare = 0.25;
    // Without a time limit the bar moves as if the game's limit held.
    static constexpr SteadyTime::duration kLimitWithoutDeadline = std::chrono::seconds(15);

    // show is called with the share, from one thread at a time, in the order of the shares.
    ThinkProgress(SteadyTime start, std::optional<SteadyTime> deadline, Show show);

    // A level begins at now, and the think is planned to end plannedSeconds later (0: unknown).
    void LevelBegins(SteadyTime now, double plannedSeconds);
    // From any thread, as often as it likes; shows the share when kShowInterval has passed.
    void Tick(SteadyTime now);
    // The decision is made: shows 1.
    void Finish();

  private:
    double ShareAt(SteadyTime now) const;

    // A point of the schedule: the share at a time.
    struct Point {
        SteadyTime at;
        double share;
    };

    std::mutex lock_;
    Show show_;
    SteadyTime limit_;
    Point from_;                    // where the schedule starts
    std::optional<Point> planEnd_;  // where the plan ends, if there is one
    double shown_ = 0;
    std::atomic<SteadyTime::rep> nextShow_{0};  // time since the clock's epoch, in its ticks
};

}  // namespace quorbel
