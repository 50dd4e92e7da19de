#pragma once

// The one seam between the game and the screen: exactly the control operations and run-time
// services the game uses. It only tells the screen what to show; nothing is read back from a
// control, since what the screen shows follows from the game. The Qt window implements it; the
// tests use a recording fake.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "flow/colors.h"
#include "flow/show_pace.h"

namespace quorbel {

// Controls of the main window the logic talks to, by their names in the window.
enum class Control {
    Feld,      // board cells, index 0..41
    cmdFeld,   // column buttons, index 0..6
    cmdMenue,  // menu buttons, index 0..5 (object name "cmdMenü_<i>")
    lblZugfeld,
    lblZug,
    lblRot,
    lblBlau,
    lblMessage,
    lblStaerke,  // object name "lblStärke"
    lblTime,
    shpRot,
    shpBlau,
    optComp,
    optMen,
    optMenComp,
    optMenMen,
    optaggressiv,
    optdefensiv,  // the last
};
constexpr int kControlCount = static_cast<int>(Control::optdefensiv) + 1;

// A control, with its index when it is an element of a control array.
struct ControlRef {
    Control control;
    int index = -1;

    ControlRef(Control c, int i = -1) : control(c), index(i) {}  // NOLINT: implicit by design
    bool operator==(const ControlRef&) const = default;
};

// The window's object name of a control: "lblStärke", "cmdFeld_3", "cmdMenü_2", "Feld_41".
std::string objectName(ControlRef ref);
// The number of elements of a control array (Feld, cmdFeld, cmdMenue); 0 for any other control.
int ElementCount(Control control);

enum class MousePointer : int { Default = 0, Hourglass = 11 };

class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // Labels and option buttons.
    virtual void setCaption(Control control, std::string_view text) = 0;

    // Background of labels and buttons, fill colour of board cells and discs.
    virtual void setColor(ControlRef ref, Color color) = 0;
    virtual void setVisible(ControlRef ref, bool visible) = 0;
    // The change is on the screen before this returns, although the handler keeps running.
    // Inside a show it is drawn, and on the screen as the show's pace presents it.
    virtual void repaintNow(ControlRef ref) = 0;

    // The repaints between beginShow and endShow make one show, paced so that the eye sees it
    // (show_pace.h); endShow presents the state the show ends in. Shows do not nest.
    virtual void beginShow(ShowPace pace) = 0;
    virtual void endShow() = 0;

    // The one timer, Timer1. Its interval counts from the moment it is set.
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void setTimerInterval(int milliseconds) = 0;

    virtual void setMousePointer(MousePointer pointer) = 0;
    // The progress bar under the board. setProgressValue may be called from any thread.
    virtual void setProgressMax(double maximum) = 0;
    virtual void setProgressValue(double value) = 0;

    // Shows the info dialog modally and returns when it is closed.
    virtual void showInfoDialog() = 0;
    // Closes the main window, which ends the program.
    virtual void closeWindow() = 0;

    // Runs work to its end and returns then. A window toolkit runs it off the UI thread and keeps
    // the window painting meanwhile; what the user gives meanwhile waits in the window's inbox.
    // Inside work only setProgressValue may be called.
    virtual void runWhileBusy(const std::function<void()>& work) = 0;

    // What assistive technology reads: a control's name and description, and a short text it
    // speaks at once, wherever the focus is.
    virtual void setAccessibleName(ControlRef ref, std::string_view name) = 0;
    virtual void setAccessibleDescription(ControlRef ref, std::string_view description) = 0;
    virtual void announce(std::string_view text) = 0;

    // Calls work soon from the event loop, never from inside this call. The loop may be one that a
    // handler waits in (a show, a think, a modal dialog).
    virtual void callLater(std::function<void()> work) = 0;

    // Run-time services: one shared uniform generator in [0, 1), reseeding from the time of day,
    // and the current date and time as days (the fraction is the time of day).
    virtual double random() = 0;
    virtual void reseedFromTimeOfDay() = 0;
    virtual double now() = 0;
};

// One show from here to the end of the scope.
class PacedShow {
  public:
    PacedShow(Toolkit& toolkit, ShowPace pace) : toolkit_(toolkit) { toolkit_.beginShow(pace); }
    ~PacedShow() { toolkit_.endShow(); }
    PacedShow(const PacedShow&) = delete;
    PacedShow& operator=(const PacedShow&) = delete;

  private:
    Toolkit& toolkit_;
};

}  // namespace quorbel
