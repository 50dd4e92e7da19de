#pragma once

// What assistive technology (a screen reader, through Qt's accessibility bridge) sees of the
// window's own kinds of control: the window as a window (busy while a handler runs), frames as
// named groups, the board as a table of cells, the labels as texts, the buttons pressed at their
// turn, the level control as a spin box whose value can be read and set, the progress bar's value,
// the announcer's texts as notifications of a status area; the board's lines and the focus ring are
// decoration it passes over.

namespace quorbel {

// Call it once the QApplication exists and before any window is built.
void installAccessibility();

}  // namespace quorbel
