#pragma once

// What assistive technology (a screen reader, through Qt's accessibility bridge) sees of the
// window's own kinds of control: the window as a window, frames as named groups, the board's cells
// and the labels as texts, the level control as a spin box whose value can be read and set, the
// announcer's texts as notifications; the board's lines and the focus ring are decoration it passes
// over.

namespace quorbel {

// Call it once the QApplication exists and before any window is built.
void installAccessibility();

}  // namespace quorbel
