#include "ui/qt/input_gate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <memory>

#include "ui/inbox.h"
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

InputGate::InputGate(QWidget& window, Inbox& inbox) : window_(window), inbox_(inbox) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!event->spontaneous() || !inbox_.busy()) {
        return false;
    }
    if (isDragAndDrop(event->type())) {
        return true;
    }
    if (!isWindowInput(watched, *event)) {
        return false;
    }
    event->accept();
    std::shared_ptr<QEvent> held(event->clone());
    inbox_.hold([receiver = QPointer<QObject>(watched), held] { handOver(receiver, held.get()); });
    return true;
}

// Pointer motion, hover and the wheel only show where the pointer is: they pass. A click waits as
// its control receives it (see the header), a key as the window receives it. A dialog the window
// opened takes its input at once.
bool InputGate::isWindowInput(const QObject* watched, const QEvent& event) const {
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
