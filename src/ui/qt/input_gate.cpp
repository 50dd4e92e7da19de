#include "ui/qt/input_gate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

#include "ui/qt/title_bar.h"

namespace quorbel {

namespace {

bool isClick(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
}

bool isKey(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease;
}

bool isDragAndDrop(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

// A title bar the window draws itself belongs to the desktop's side of the window: it answers at
// once, its close box above all.
bool inTitleBar(const QObject* watched) {
    for (const QObject* object = watched; object != nullptr; object = object->parent()) {
        if (qobject_cast<const TitleBar*>(object) != nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

InputGate::InputGate(QWidget& window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void InputGate::close() {
    ++closed_;
}

void InputGate::open() {
    if (--closed_ > 0) {
        return;
    }
    if (!window_.isVisible()) {
        waiting_.clear();
    } else if (!waiting_.empty()) {
        QMetaObject::invokeMethod(
            this, [this] { handleWaiting(); }, Qt::QueuedConnection);
    }
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (event == delivering_) {
        return false;
    }
    if (closed_ > 0 && isDragAndDrop(event->type())) {
        return true;
    }
    if (!mustWait(watched, *event)) {
        return false;
    }
    event->accept();
    waiting_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

// Pointer motion, hover and the wheel only show where the pointer is: they pass. A click waits as
// its control receives it (see the header), a key as the window or the control it was sent to
// receives it. With the gate open, only the window's own input queues up behind what still
// waits; a dialog it opened meanwhile takes its input at once.
bool InputGate::mustWait(const QObject* watched, const QEvent& event) const {
    const bool input = isKey(event.type()) || (isClick(event.type()) && watched->isWidgetType());
    if (!input || inTitleBar(watched)) {
        return false;
    }
    if (closed_ > 0) {
        return true;
    }
    if (waiting_.empty()) {
        return false;
    }
    if (watched->isWidgetType()) {
        return static_cast<const QWidget*>(watched)->window() == &window_;
    }
    return watched == window_.windowHandle();
}

// One pass hands over everything, also what comes in while its handlers run; a handler's shows
// close the gate meanwhile, and the pass goes on once the handler has returned.
void InputGate::handleWaiting() {
    if (handling_ || closed_ > 0) {
        return;
    }
    handling_ = true;
    while (closed_ == 0 && !waiting_.empty() && window_.isVisible()) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        deliver(next);
    }
    if (!window_.isVisible()) {
        waiting_.clear();
    }
    handling_ = false;
}

// A control hidden meanwhile takes no click, as on the screen.
void InputGate::deliver(Waiting& next) {
    QObject* receiver = next.receiver;
    if (receiver == nullptr ||
        (receiver->isWidgetType() && !static_cast<QWidget*>(receiver)->isVisible())) {
        return;
    }
    delivering_ = next.event.get();
    QCoreApplication::sendEvent(receiver, next.event.get());
    delivering_ = nullptr;
}

}  // namespace quorbel
