#pragma once

// Clicks and keys from the desktop that reach the main window while its inbox is busy (a handler
// runs, or something waits) wait in the inbox's line, and are handed over at their turn.
//
// A click waits as the mouse events its control received, not as the raw input of the window: Qt
// has already chosen the control under the press by then, and sends the release to that control
// whatever the pointer does next. Handed to that control later, press and release still make a
// click, although the pointer may have left it long ago. Keys wait as the window received them,
// and go to whatever has the focus when their turn comes, as keys typed ahead do.
//
// A release belongs to its press: it waits only when its press waited. A press the control took
// at once is ended at once too, so a button held down across the start of a show takes its click
// when the player lets go (the click's command then waits its turn), and an arrow that repeats
// while held stops repeating then, not when the show is over.
//
// Only input from the desktop waits (Qt marks it spontaneous); what the line hands over is sent by
// the program and passes.

#include <QObject>

#include <functional>
#include <map>

#include "flow/inbox.h"

class QEvent;
class QKeyEvent;
class QWidget;

namespace quorbel {

class InputLine : public QObject {
  public:
    // How a key pressed now takes its turn: at once (it changes nothing, and nothing it depends
    // on waits), in the line while the inbox is busy, or in the line as a reading (it changes
    // nothing, but must not overtake what waits, nor read a state that is changing).
    enum class KeyTurn { AtOnce, InLine, ReadingInLine };
    using KeyTurns = std::function<KeyTurn(const QKeyEvent&)>;

    // Watches the whole application's input on behalf of window.
    InputLine(QWidget& window, Inbox& inbox, KeyTurns keyTurn);
    ~InputLine() override;
    InputLine(const InputLine&) = delete;
    InputLine& operator=(const InputLine&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isWindowInput(const QObject* watched, const QEvent& event) const;
    bool mustWait(const QEvent& event);
    bool mustKeyWait(const QKeyEvent& event);
    Inbox::Aim aimOf(const QEvent& event) const;

    QWidget& window_;
    Inbox& inbox_;
    KeyTurns keyTurn_;
    bool pressWaited_ = false;  // the last mouse press waits, or waited, in the line
    // Keys whose press waits, or waited, in the line, and how it was aimed.
    std::map<int, Inbox::Aim> keysWaiting_;
};

}  // namespace quorbel
