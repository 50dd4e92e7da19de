#pragma once

// Clicks and keys that reach the main window while its inbox is busy (a handler runs, or commands
// wait) wait in the inbox, in the line of every other command, and are handed over at their turn.
//
// A click waits as the mouse events its control received, not as the raw input of the window: Qt
// has already chosen the control under the press by then, and sends the release to that control
// whatever the pointer does next. Handed to that control later, press and release still make a
// click, although the pointer may have left it long ago. (Input handed back to the window instead
// is aimed anew, at where the pointer is by then, and a quick tap whose pointer moved on was
// lost: the control took the focus and nothing else.) Keys wait as the window received them, and go
// to whatever has the focus when their turn comes, as keys typed ahead do.
//
// Only input from the desktop waits (Qt marks it spontaneous); what the gate hands over is sent
// by the program and passes.

#include <QObject>

class QEvent;
class QWidget;

namespace quorbel {

class Inbox;

class InputGate : public QObject {
  public:
    // Watches the whole application's input on behalf of window.
    InputGate(QWidget& window, Inbox& inbox);
    ~InputGate() override;
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isWindowInput(const QObject* watched, const QEvent& event) const;

    QWidget& window_;
    Inbox& inbox_;
};

}  // namespace quorbel
