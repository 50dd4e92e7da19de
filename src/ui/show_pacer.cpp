#include "ui/show_pacer.h"

#include <algorithm>
#include <thread>

namespace quorbel {

void ShowPacer::begin(ShowPace pace) {
    pace_ = pace;
    repaints_ = 0;
}

void ShowPacer::end() {
    if (!changed_.empty()) {
        presentFrame();
    }
    pace_.reset();
}

void ShowPacer::changed(ControlRef ref) {
    if (std::find(changed_.begin(), changed_.end(), ref) == changed_.end()) {
        changed_.push_back(ref);
    }
}

void ShowPacer::repainted(ControlRef ref) {
    changed(ref);
    if (++repaints_ % pace_->repaintsPerFrame == 0) {
        presentFrame();
    }
}

void ShowPacer::keepOnScreen() {
    nextFrameAllowed_ = now() + std::chrono::milliseconds(kFrameHoldMs);
    waitUntil(nextFrameAllowed_);
}

void ShowPacer::waitUntil(Clock::time_point until) {
    if (virtual_) {
        virtualNow_ = std::max(virtualNow_, until);
    } else if (wait_) {
        wait_(until);
    } else {
        std::this_thread::sleep_until(until);
    }
}

// The hold counts from the moment the previous frame was presented, also when that frame ended
// another show, so that a show's final state is seen before the next show replaces it.
void ShowPacer::presentFrame() {
    waitUntil(nextFrameAllowed_);
    present_(changed_);
    changed_.clear();
    ++frames_;
    nextFrameAllowed_ = now() + std::chrono::milliseconds(kFrameHoldMs);
}

}  // namespace quorbel
