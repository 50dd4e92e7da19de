// The Qt side of the toolkit interface on the real window: colours that show at once, captions,
// the timer's counting, the pointer, the progress bar across threads and the busy wait.

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "support/address_space_limit.h"
#include "ui/qt/controls.h"
#include "window_fixture.h"

using namespace quorbel;
using namespace quorbel::testing;

class QtToolkitTest : public QObject {
    Q_OBJECT

  private slots:
    // First: a thread that has ended leaves its stack to the next thread, which then needs no
    // new memory, and the limit this test sets would not keep it from starting.
    void busyWorkRunsHereWhenNoThreadCanBeHad();
    void colourSetIsReadBackAndShownAtOnce_data();
    void colourSetIsReadBackAndShownAtOnce();
    void repaintNowPutsTheChangeOnTheScreenBeforeItReturns();
    void aShowsColoursReachTheScreenOnlyWithItsFrames();
    void captionsKeepTheirUmlauts();
    void selectionFollowsTheOptionButtons();
    void timerIsSilentWhileOffOrAtIntervalZero();
    void timerCountsFromTheMomentItsIntervalIsSet();
    void aTickRunsTheShowOfTheGameState();
    void ticksDuringAShowMakeOneTickAfterIt();
    void hourglassPointerCoversTheWindow();
    void progressReportsFromOtherThreadsArriveInOrder();
    void progressBarIsDrawnAsQtDrawsOne();
    void busyWorkRunsOffTheGuiThreadWhileItKeepsRunning();
    void busyWorkPassesItsFailureOn();
};

void QtToolkitTest::colourSetIsReadBackAndShownAtOnce_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("index");
    QTest::newRow("board cell") << int(Control::Feld) << 17;
    QTest::newRow("column button") << int(Control::cmdFeld) << 3;
    QTest::newRow("menu button") << int(Control::cmdMenue) << 5;
    QTest::newRow("message label") << int(Control::lblMessage) << -1;
    QTest::newRow("player disc") << int(Control::shpBlau) << -1;
}

void QtToolkitTest::colourSetIsReadBackAndShownAtOnce() {
    QFETCH(int, control);
    QFETCH(int, index);
    WindowFixture f;
    const ControlRef ref{static_cast<Control>(control), index};
    f.window.toolkit().setVisible(ref, true);
    for (Color colour : {PaletteColor(13), rgb(1, 2, 3), PaletteColor(14)}) {
        f.window.toolkit().setColor(ref, colour);
        f.window.toolkit().repaintNow(ref);
        QCOMPARE(f.window.toolkit().color(ref), colour);
        // Left of the centre: away from the text or picture a control may show.
        const int offset =
            ref.control == Control::Feld || ref.control == Control::shpBlau ? 0 : -20;
        QCOMPARE(f.pixelAt(f.find(ref), QPoint(offset, 0)), toQColor(colour));
    }
}

// What the screen shows, without letting the event loop paint anything first.
static QColor onScreen(WindowFixture& f, ControlRef ref) {
    QWidget* widget = f.find(ref);
    const QImage screen = f.window.screen()->grabWindow(f.window.winId()).toImage();
    return screen.pixelColor(widget->mapTo(&f.window, widget->rect().center() + QPoint(-20, 0)));
}

void QtToolkitTest::repaintNowPutsTheChangeOnTheScreenBeforeItReturns() {
    WindowFixture f;
    const ControlRef button{Control::cmdMenue, 4};
    QCOMPARE(onScreen(f, button), QColor(0, 255, 255));
    f.window.toolkit().setColor(button, PaletteColor(12));
    QCOMPARE(onScreen(f, button), QColor(0, 255, 255));  // only scheduled so far
    f.window.toolkit().repaintNow(button);
    QCOMPARE(onScreen(f, button), QColor(255, 0, 0));
}

// The event loop runs while a frame is held; it must not paint the next frame's colours then, or
// the frame held is overtaken at once.
void QtToolkitTest::aShowsColoursReachTheScreenOnlyWithItsFrames() {
    WindowFixture f;
    Toolkit& toolkit = f.window.toolkit();
    const ControlRef button{Control::cmdMenue, 4};
    const PacedShow show(toolkit, ShowPace{2});
    toolkit.setColor(button, PaletteColor(12));
    toolkit.repaintNow(button);
    QCoreApplication::processEvents();
    QCOMPARE(onScreen(f, button), QColor(0, 255, 255));
    toolkit.repaintNow(button);  // the second repaint presents the frame
    QCOMPARE(onScreen(f, button), QColor(255, 0, 0));
}

void QtToolkitTest::captionsKeepTheirUmlauts() {
    WindowFixture f;
    QtToolkit& toolkit = f.window.toolkit();
    toolkit.setCaption(Control::lblMessage, "Zug zurück");
    QCOMPARE(f.text(Control::lblMessage), QString::fromUtf8("Zug zurück"));
    QCOMPARE(toolkit.caption(Control::lblMessage), std::string("Zug zurück"));
    toolkit.setCaption(Control::optMen, "Spieler");
    QCOMPARE(toolkit.caption(Control::optMen), std::string("Spieler"));
    QCOMPARE(toolkit.caption(Control::lblStaerke), std::string("1"));
}

// The game holds who begins; the option buttons show it and pass the player's choice on.
void QtToolkitTest::selectionFollowsTheOptionButtons() {
    WindowFixture f;
    QtToolkit& toolkit = f.window.toolkit();
    QVERIFY(toolkit.isSelected(Control::optMen));
    QVERIFY(!f.window.game().settings().computerBegins);
    QVERIFY(toolkit.isSelected(Control::optdefensiv));
    f.click(Control::optComp);
    QVERIFY(toolkit.isSelected(Control::optComp));
    QVERIFY(!toolkit.isSelected(Control::optMen));
    QVERIFY(f.window.game().settings().computerBegins);
    f.click(Control::optMen);
    QVERIFY(!f.window.game().settings().computerBegins);
}

void QtToolkitTest::timerIsSilentWhileOffOrAtIntervalZero() {
    WindowFixture f;
    Toolkit& toolkit = f.window.toolkit();
    QTimer& timer = f.window.timer1();
    toolkit.setTimerInterval(0);
    QVERIFY(!timer.isActive());
    toolkit.setTimerEnabled(false);
    toolkit.setTimerInterval(30);
    QVERIFY(!timer.isActive());
    toolkit.setTimerEnabled(true);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 30);
}

// A lower bound only: a tick can come late on a busy machine, never early.
void QtToolkitTest::timerCountsFromTheMomentItsIntervalIsSet() {
    WindowFixture f;
    Toolkit& toolkit = f.window.toolkit();
    QSignalSpy ticks(&f.window.timer1(), &QTimer::timeout);
    toolkit.setTimerInterval(300);
    QTest::qWait(200);
    QElapsedTimer sinceReset;
    toolkit.setTimerInterval(300);
    sinceReset.start();
    QVERIFY(ticks.wait(5000));
    QCOMPARE(ticks.count(), 1);
    QVERIFY2(sinceReset.elapsed() >= 290, qPrintable(QString::number(sinceReset.elapsed())));

    // Switching on a timer that is on does not start its count again: the time left does not
    // grow back to the whole interval.
    toolkit.setTimerInterval(400);
    QTest::qWait(250);
    const int leftBefore = f.window.timer1().remainingTime();
    toolkit.setTimerEnabled(true);
    QCOMPARE_LE(f.window.timer1().remainingTime(), leftBefore);
}

void QtToolkitTest::aTickRunsTheShowOfTheGameState() {
    WindowFixture f;
    f.window.toolkit().setTimerInterval(20);
    QSignalSpy ticks(&f.window.timer1(), &QTimer::timeout);
    QVERIFY(ticks.wait(5000));
    // The menu-button show ran: it ends by setting the next pause and the buttons' cyan.
    QCOMPARE(f.window.timer1().interval(), 3000);
    QCOMPARE(f.pixelAt(f.find({Control::cmdMenue, 4}), QPoint(-25, 0)), QColor(0, 255, 255));
}

// A show keeps the window answering the desktop between its frames, but a tick of Timer1 must not
// start a show inside the handler that runs it: the ticks wait, and make one late tick, unless the
// handler sets the timer again.
void QtToolkitTest::ticksDuringAShowMakeOneTickAfterIt() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    Toolkit& toolkit = f.window.toolkit();
    QSignalSpy ticks(&f.window.timer1(), &QTimer::timeout);
    int handled = 0;  // ticks: each runs the menu-button show and sets the timer to 3000 ms
    f.window.inbox().onHandled(
        [&](const Event& event) { handled += event.handler == Handler::Timer1_Timer ? 1 : 0; });
    const auto showTenFrames = [&](int setIntervalAfterFrame) {
        f.window.inbox().post([&toolkit, setIntervalAfterFrame] {
            const PacedShow show(toolkit, ShowPace{1});
            for (int frame = 1; frame <= 10; ++frame) {
                toolkit.setColor({Control::cmdMenue, 4}, frame % 2 != 0 ? 0xFFFFFF : 0);
                toolkit.repaintNow({Control::cmdMenue, 4});
                if (frame == setIntervalAfterFrame) {
                    toolkit.setTimerInterval(3000);
                }
            }
        });
    };
    toolkit.setTimerInterval(20);
    showTenFrames(0);
    QCOMPARE_GT(ticks.count(), 1);  // the timer fell due during the show's 300 ms, several times
    QCOMPARE(handled, 0);
    QTRY_COMPARE(handled, 1);
    QTest::qWait(100);
    QCOMPARE(handled, 1);

    toolkit.setTimerInterval(20);
    showTenFrames(5);
    QTest::qWait(100);
    QCOMPARE(handled, 1);
}

// The bar is the window's own (its changes are heard only during long thinks), but looks exactly
// as Qt's progress bar does, at every value.
void QtToolkitTest::progressBarIsDrawnAsQtDrawsOne() {
    WindowFixture f;
    ProgressBar& bar = f.window.progressBar();
    QProgressBar qt(&f.window);
    qt.setGeometry(bar.geometry());
    qt.setTextVisible(false);
    bar.setMaximum(7000);
    qt.setRange(0, 7000);
    for (int value : {0, 1, 700, 3333, 6999, 7000}) {
        bar.setValue(value);
        qt.setValue(value);
        QCOMPARE(bar.grab().toImage().convertToFormat(QImage::Format_RGB32),
                 qt.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

// Without room for a thread's stack the work runs on the window's thread, to its end.
void QtToolkitTest::busyWorkRunsHereWhenNoThreadCanBeHad() {
    WindowFixture f;
    std::thread::id ranOn;
    {
        const AddressSpaceLimit limit(2);
        QVERIFY(limit.set());
        f.window.toolkit().runWhileBusy([&] { ranOn = std::this_thread::get_id(); });
    }
    QCOMPARE(ranOn, std::this_thread::get_id());
}

void QtToolkitTest::hourglassPointerCoversTheWindow() {
    WindowFixture f;
    f.window.toolkit().setMousePointer(MousePointer::Hourglass);
    QCOMPARE(f.window.cursor().shape(), Qt::WaitCursor);
    QCOMPARE(f.find({Control::cmdMenue, 0})->cursor().shape(), Qt::WaitCursor);
    f.window.toolkit().setMousePointer(MousePointer::Default);
    QCOMPARE(f.window.cursor().shape(), Qt::ArrowCursor);
}

void QtToolkitTest::progressReportsFromOtherThreadsArriveInOrder() {
    WindowFixture f;
    Toolkit& toolkit = f.window.toolkit();
    ProgressBar& bar = f.window.progressBar();
    QCOMPARE(bar.maximum(), 100);
    QCOMPARE(bar.value(), 0);
    toolkit.setProgressMax(7);
    QSignalSpy values(&bar, &ProgressBar::valueChanged);
    toolkit.runWhileBusy([&] {
        for (int step = 1; step <= 14; ++step) {
            toolkit.setProgressValue(step / 2.0);
        }
    });
    // All reports are in by the time the wait returns, none is handled later; the bar shows
    // fractions of its maximum.
    constexpr int kSteps = QtToolkit::kProgressStepsPerUnit;
    QCOMPARE(values.count(), 14);
    for (int i = 0; i < 14; ++i) {
        QCOMPARE(values.at(i).at(0).toInt(), (i + 1) * kSteps / 2);
    }
    QCOMPARE(bar.maximum(), 7 * kSteps);
    toolkit.setProgressValue(0);  // on the GUI thread it takes effect at once
    QCOMPARE(bar.value(), 0);
}

void QtToolkitTest::busyWorkRunsOffTheGuiThreadWhileItKeepsRunning() {
    WindowFixture f;
    std::atomic<bool> guiTimerFired{false};
    std::thread::id workThread;
    QTimer::singleShot(20, [&] { guiTimerFired = true; });
    f.window.toolkit().runWhileBusy([&] {
        workThread = std::this_thread::get_id();
        // Ends only once the GUI thread has handled its timer: proof that it kept running.
        for (int waited = 0; waited < 5000 && !guiTimerFired; waited += 5) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    QVERIFY(guiTimerFired);
    QVERIFY(workThread != std::this_thread::get_id());
}

void QtToolkitTest::busyWorkPassesItsFailureOn() {
    WindowFixture f;
    bool caught = false;
    try {
        f.window.toolkit().runWhileBusy([] { throw std::runtime_error("search failed"); });
    } catch (const std::runtime_error& error) {
        caught = std::string(error.what()) == "search failed";
    }
    QVERIFY(caught);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    QtToolkitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "qt_toolkit_test.moc"
