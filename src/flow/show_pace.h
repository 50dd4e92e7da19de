#pragma once

// How the window's shows reach the eye. A show repaints its controls far more often than a display
// can present them, and a colour that is on the screen for less than a display frame is never seen.
// So the toolkit draws every repaint but presents a frame only after every `repaintsPerFrame`
// repaints of visible controls (the colours in between are overtaken before anyone could see
// them), keeps every presented frame on the screen for at least kFrameHoldMs, and always presents
// the state a show ends in.

#include <algorithm>

namespace quorbel {

// A little under two frames of a 60 Hz display: every presented colour is seen for at least one
// frame, and a burst reads as distinct colours rather than as a blur.
constexpr int kFrameHoldMs = 30;

struct ShowPace {
    int repaintsPerFrame;
};

// One colour of the column button and one of the landing cell a frame: all five of each are seen,
// in about 150 ms. The take-back's flashes of button and cell go the same way.
constexpr ShowPace kStoneFlicker{2};
constexpr ShowPace kTakeBackFlash{2};

// Twelve of the message's fifty colours, then white: about 360 ms.
constexpr ShowPace kMessageFlash{4};

// Ten of each visible menu button's 250 colours and six of each column button's 150: about
// 0.9 s before a game (three menu buttons are hidden, and a hidden button shows nothing) and
// 1.3 s during one.
constexpr ShowPace kMenuButtonShow{25};
constexpr ShowPace kColumnButtonShow{25};

// Five phases of the winning cells a frame. Five is odd, so the frames alternate between yellow
// and the winner's colour: four yellow flashes in about 210 ms, ending in the winner's colour.
constexpr ShowPace WinningLineBlink(int cells) {
    return {5 * std::max(cells, 1)};
}

}  // namespace quorbel
