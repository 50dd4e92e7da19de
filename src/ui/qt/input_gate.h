#pragma once

// What the user gives the window while it is busy (a show runs, or the computer thinks): clicks and
// keys wait, and are handled once it is free again, each exactly once, in the order given and
// before anything given later.
//
// A click waits as the mouse events its control received, not as the raw input of the window: Qt
// has already chosen the control under the press by then, and sends the release to that control
// whatever the pointer does next. Replayed to that control later, press and release still make a
// click, although the pointer may have left it long ago. (Input handed back to the window instead
// is aimed anew, at where the pointer is by then, and a quick tap whose pointer moved on was
// lost: the control took the focus and nothing else.) Keys wait as the window received them, and go
// to whatever has the focus when their turn comes, as keys typed ahead do.

#include <QObject>
#include <QPointer>

#include <deque>
#include <memory>

class QEvent;
class QWidget;

namespace quorbel {

class InputGate : public QObject {
  public:
    // Watches the whole application's input on behalf of window.
    explicit InputGate(QWidget& window);
    ~InputGate() override;
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

    // From close() to the matching open(), clicks and keys wait.
    void close();
    // What waited is handled as soon as the handler that closed the gate has returned; what the
    // window is given meanwhile waits behind it. A closed window drops it all.
    void open();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Waiting {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    bool mustWait(const QObject* watched, const QEvent& event) const;
    void handleWaiting();
    void deliver(Waiting& next);

    QWidget& window_;
    int closed_ = 0;
    std::deque<Waiting> waiting_;
    bool handling_ = false;
    const QEvent* delivering_ = nullptr;
};

}  // namespace quorbel
