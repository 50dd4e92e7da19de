#include "ui/qt/input_line.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <memory>
#include <utility>

#include "flow/inbox.h"
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

// A control hidden meanwhile takes no click, as on the screen.
void handOver(QObject* receiver, QEvent* event) {
    if (receiver == nullptr ||
        (receiver->isWidgetType() && !static_cast<QWidget*>(receiver)->isVisible())) {
        return;
    }
    QCoreApplication::sendEvent(receiver, event);
}

}  // namespace

InputLine::InputLine(QWidget& window, Inbox& inbox, KeyTurns keyTurn)
    : window_(window), inbox_(inbox), keyTurn_(std::move(keyTurn)) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputLine::~InputLine() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputLine::eventFilter(QObject* watched, QEvent* event) {
    if (!event->spontaneous()) {
        return false;
    }
    if (isDragAndDrop(event->type())) {
        return inbox_.busy();
    }
    if (!isWindowInput(watched, *event) || !mustWait(*event)) {
        return false;
    }
    event->accept();
    std::shared_ptr<QEvent> held(event->clone());
    inbox_.deliver(
        [receiver = QPointer<QObject>(watched), held] { handOver(receiver, held.get()); },
        aimOf(*event));
    return true;
}

Inbox::Aim InputLine::aimOf(const QEvent& event) const {
    if (!isKey(event.type())) {
        return Inbox::Aim::Control;
    }
    const auto waiting = keysWaiting_.find(static_cast<const QKeyEvent&>(event).key());
    return waiting != keysWaiting_.end() ? waiting->second : Inbox::Aim::Focus;
}

// A press waits while the inbox is busy, a release only while its press waits or waited (see the
// header). Qt may show the line one event twice (a key at the window, then at its focus; a click
// that a control passes on to its parent); the answer is the same both times.
bool InputLine::mustWait(const QEvent& event) {
    const bool busy = inbox_.busy();
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pressWaited_ = busy;
            return busy;
        case QEvent::MouseButtonRelease:
            return busy && pressWaited_;
        case QEvent::KeyPress:
            return mustKeyWait(static_cast<const QKeyEvent&>(event));
        case QEvent::KeyRelease:
            return busy && keysWaiting_.contains(static_cast<const QKeyEvent&>(event).key());
        default:
            return busy;
    }
}

bool InputLine::mustKeyWait(const QKeyEvent& event) {
    const int key = event.key();
    const KeyTurn turn = keyTurn_(event);
    const bool waits = turn == KeyTurn::ReadingInLine || (turn == KeyTurn::InLine && inbox_.busy());
    keysWaiting_.erase(key);
    if (waits) {
        keysWaiting_[key] =
            turn == KeyTurn::ReadingInLine ? Inbox::Aim::Reading : Inbox::Aim::Focus;
    }
    return waits;
}

// Pointer motion, hover and the wheel only show where the pointer is: they pass. A click waits as
// its control receives it (see the header), a key as the window receives it. A dialog the window
// opened takes its input at once.
bool InputLine::isWindowInput(const QObject* watched, const QEvent& event) const {
    const bool input = isKey(event.type()) || (isClick(event.type()) && watched->isWidgetType());
    if (!input || inTitleBar(watched)) {
        return false;
    }
    if (watched->isWidgetType()) {
        return static_cast<const QWidget*>(watched)->window() == &window_;
    }
    return watched == window_.windowHandle();
}

}  // namespace quorbel
