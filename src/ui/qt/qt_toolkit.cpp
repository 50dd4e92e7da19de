#include "ui/qt/qt_toolkit.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "ui/qt/controls.h"
#include "ui/qt/frm_info.h"
#include "ui/qt/frm_quorbel.h"

namespace quorbel {

namespace {

// How much nicer than the window the computer's search threads are. Five gives a thread about a
// third of the window's share of a busy core; on an idle machine it changes nothing.
constexpr int kThinkNiceness = 5;

// Lowers the calling thread's priority; the threads it starts inherit it. A refusal leaves it.
void yieldToTheWindow() {
    const auto thread = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno == 0) {
        setpriority(PRIO_PROCESS, thread, nice + kThinkNiceness);
    }
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtToolkit::QtToolkit(frmQuorbel& window)
    : window_(window),
      pacer_([this](const std::vector<ControlRef>& changed) { present(changed); },
             [this](ShowPacer::Clock::time_point until) { holdFrame(until); }) {}

QtToolkit::~QtToolkit() = default;

void QtToolkit::setCaption(Control control, std::string_view text) {
    const QString caption = fromUtf8(text);
    QWidget* widget = window_.control(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(caption);
        if (label == &window_.levelControl().buddy()) {
            window_.levelControl().valueShown();
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(caption);
    }
}

std::string QtToolkit::caption(Control control) const {
    QWidget* widget = window_.control(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text().toStdString();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text().toStdString();
    }
    return {};
}

bool QtToolkit::isSelected(Control option) const {
    auto* button = qobject_cast<QAbstractButton*>(window_.control(option));
    return button != nullptr && button->isChecked();
}

// Inside a show a colour is painted only when the pacer presents a frame: a paint scheduled now
// would be done by the event loop while the previous frame is held, and that frame would be
// overtaken at once (the first of each show was never seen).
void QtToolkit::setColor(ControlRef ref, Color color) {
    if (Colored* control = window_.colored(ref)) {
        const bool inShow = pacer_.running() && window_.control(ref)->isVisible();
        control->setColor(color, inShow ? Colored::Paint::WhenPresented : Colored::Paint::Later);
        if (inShow) {
            pacer_.changed(ref);
        }
    }
}

Color QtToolkit::color(ControlRef ref) const {
    const Colored* control = window_.colored(ref);
    return control != nullptr ? control->color() : 0;
}

// A control hidden with the focus gives it up without handing it on (Qt would hand it to the next
// control, and a screen reader would say that one): the window puts it where the player goes next
// once the handler is done.
void QtToolkit::setVisible(ControlRef ref, bool visible) {
    QWidget* widget = window_.control(ref);
    if (widget == nullptr) {
        return;
    }
    QWidget* focus = window_.focusWidget();
    if (!visible && focus != nullptr && (focus == widget || widget->isAncestorOf(focus))) {
        focus->clearFocus();
    }
    widget->setVisible(visible);
}

bool QtToolkit::isVisible(ControlRef ref) const {
    const QWidget* widget = window_.control(ref);
    return widget != nullptr && widget->isVisible();
}

// Inside a show a repaint of a hidden control shows nothing, so it takes no time either.
void QtToolkit::repaintNow(ControlRef ref) {
    QWidget* widget = window_.control(ref);
    if (widget == nullptr) {
        return;
    }
    if (!pacer_.running()) {
        widget->repaint();
    } else if (widget->isVisible()) {
        pacer_.repainted(ref);
    }
}

// Paints the changed controls into the window and hands them to the display before returning.
void QtToolkit::present(const std::vector<ControlRef>& changed) {
    for (const ControlRef ref : changed) {
        if (QWidget* widget = window_.control(ref)) {
            widget->repaint();
        }
    }
}

void QtToolkit::beginShow(ShowPace pace) {
    pacer_.begin(pace);
}

void QtToolkit::endShow() {
    pacer_.end();
}

void QtToolkit::postTicks() {
    QObject::connect(&window_.timer1(), &QTimer::timeout, &window_, [this] { tickFallsDue(); });
}

// A tick that falls due while the inbox is busy waits there, and the ticks of the same count that
// fall due meanwhile make that one. It is dropped when the timer has been set anew or switched off
// before its turn: it belongs to an interval that no longer counts.
void QtToolkit::tickFallsDue() {
    if (tickWaitingAtStarts_ == timerStarts_) {
        return;
    }
    tickWaitingAtStarts_ = timerStarts_;
    window_.inbox().post(Event{Handler::Timer1_Timer}, [this, starts = timerStarts_] {
        if (tickWaitingAtStarts_ == starts) {
            tickWaitingAtStarts_.reset();
        }
        return starts == timerStarts_ && window_.timer1().isActive();
    });
}

// While a frame is on the screen the window keeps answering the desktop, its close box above all:
// closed, it shows nothing more, and the rest of the show passes at once.
void QtToolkit::holdFrame(ShowPacer::Clock::time_point until) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - ShowPacer::Clock::now());
    if (left.count() > 0) {
        QEventLoop loop;
        QTimer::singleShot(left, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // The loop ends early when the program is quitting.
    std::this_thread::sleep_until(until);
}

// Timer1 counts its interval from the moment the interval is set or the timer is switched on;
// switching on a running timer leaves its count alone.
void QtToolkit::setTimerEnabled(bool enabled) {
    if (enabled == timerEnabled_) {
        return;
    }
    timerEnabled_ = enabled;
    restartTimer();
}

void QtToolkit::setTimerInterval(int milliseconds) {
    timerInterval_ = milliseconds;
    restartTimer();
}

void QtToolkit::restartTimer() {
    ++timerStarts_;
    QTimer& timer = window_.timer1();
    if (timerEnabled_ && timerInterval_ > 0) {
        timer.start(timerInterval_);
    } else {
        timer.stop();
    }
}

void QtToolkit::setMousePointer(MousePointer pointer) {
    if (pointer == MousePointer::Hourglass) {
        window_.setCursor(Qt::WaitCursor);
    } else {
        window_.unsetCursor();
    }
}

// The logic counts the bar in whole candidates and fractions of them; the bar itself counts in
// finer steps, so that it moves by the pixel.
void QtToolkit::setProgressMax(double maximum) {
    window_.progressBar().setMaximum(qRound(maximum * kProgressStepsPerUnit));
}

// The computer's search reports its progress from its worker threads; the bar is the GUI
// thread's, so those reports travel as queued calls, in the order they were made.
void QtToolkit::setProgressValue(double value) {
    ProgressBar* bar = &window_.progressBar();
    const int position = qRound(value * kProgressStepsPerUnit);
    if (QThread::currentThread() == bar->thread()) {
        bar->setValue(position);
        bar->repaint();
    } else {
        QMetaObject::invokeMethod(
            bar, [bar, position] { bar->setValue(position); }, Qt::QueuedConnection);
    }
}

void QtToolkit::showInfoDialog() {
    if (!info_) {
        // A child of the window only so that it stays with it on the desktop; it is modal to the
        // whole application either way.
        info_ = std::make_unique<frmInfo>(&window_);
    }
    info_->showCentred();
}

void QtToolkit::closeWindow() {
    window_.close();
}

// The work runs on a worker thread while this thread keeps the window painting and answering the
// desktop. The worker, and the threads it starts, run at a lower priority than the window: on a
// machine busy with other work too, the window, and a screen reader reading it, still answer at
// once while the computer thinks. What is pressed meanwhile waits in the inbox, behind the
// handler that asked for the work. The close box works meanwhile: the window's close event tells
// the computer to stop thinking, and what the user gave before is dropped with the window. Should
// no thread be had, the work runs here, and the window waits for it.
void QtToolkit::runWhileBusy(const std::function<void()>& work) {
    ProgressBar& bar = window_.progressBar();
    const int barBefore = bar.value();
    bar.thinkBegins();
    std::exception_ptr failure;
    const auto runWork = [&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    QEventLoop loop;
    std::optional<std::thread> worker;
    try {
        worker.emplace([&] {
            yieldToTheWindow();
            runWork();
            // Posted after every progress report of the work, so the loop sees them all first.
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        runWork();
    }
    if (worker) {
        // The game stands still while the computer thinks: readings typed before are answered.
        thinking_ = true;
        window_.inbox().deliverWaitingReadings();
        loop.exec();
        thinking_ = false;
        worker->join();
    }
    bar.thinkEnds();
    // Where the work moved the bar (full as the computer decides), the bar is seen as it ended
    // before the handler goes on and empties it.
    if (bar.value() != barBefore && window_.isVisible()) {
        bar.repaint();
        pacer_.keepOnScreen();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

// Qt raises the events a screen reader follows on every set; only a change is one.
void QtToolkit::setAccessibleName(ControlRef ref, std::string_view name) {
    QWidget* widget = window_.control(ref);
    if (const QString text = fromUtf8(name);
        widget != nullptr && widget->accessibleName() != text) {
        widget->setAccessibleName(text);
    }
}

void QtToolkit::setAccessibleDescription(ControlRef ref, std::string_view description) {
    QWidget* widget = window_.control(ref);
    if (const QString text = fromUtf8(description);
        widget != nullptr && widget->accessibleDescription() != text) {
        widget->setAccessibleDescription(text);
    }
}

void QtToolkit::announce(std::string_view text) {
    window_.announcer().say(fromUtf8(text));
}

void QtToolkit::callLater(std::function<void()> work) {
    QMetaObject::invokeMethod(&window_, std::move(work), Qt::QueuedConnection);
}

}  // namespace quorbel
