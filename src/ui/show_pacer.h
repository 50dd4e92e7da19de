#pragma once

// Paces a show for a real display (see show_pace.h): decides when a frame is presented and waits
// until the previous frame has been on the screen long enough. What presenting and waiting mean is
// the toolkit's; the pacer hands it the controls that changed since the last frame.

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "flow/show_pace.h"
#include "flow/toolkit.h"

namespace quorbel {

class ShowPacer {
  public:
    using Clock = std::chrono::steady_clock;
    using Present = std::function<void(const std::vector<ControlRef>& changed)>;
    // Returns at the time given, not before; without one the pacer sleeps.
    using Wait = std::function<void(Clock::time_point until)>;

    explicit ShowPacer(Present present, Wait wait = {})
        : present_(std::move(present)), wait_(std::move(wait)) {}

    // Keeps time without sleeping: waiting moves the clock on. For tests and benchmarks of what a
    // show would present, and for windows that nobody watches.
    void useVirtualClock() { virtual_ = true; }

    void begin(ShowPace pace);
    // Presents what the show changed since its last frame, once the last frame has been seen.
    void end();
    bool running() const { return pace_.has_value(); }

    // A control changed during the show; it is presented with the next frame.
    void changed(ControlRef ref);
    // A visible control was repainted during the show; every repaintsPerFrame-th repaint presents.
    void repainted(ControlRef ref);

    // Outside a show: what has just been painted stays on the screen for a frame before the caller
    // goes on.
    void keepOnScreen();

    Clock::time_point now() const { return virtual_ ? virtualNow_ : Clock::now(); }
    int framesPresented() const { return frames_; }

  private:
    void presentFrame();
    void waitUntil(Clock::time_point until);

    Present present_;
    Wait wait_;
    std::optional<ShowPace> pace_;
    int repaints_ = 0;
    std::vector<ControlRef> changed_;
    Clock::time_point nextFrameAllowed_{};
    int frames_ = 0;
    bool virtual_ = false;
    Clock::time_point virtualNow_{};
};

}  // namespace quorbel
