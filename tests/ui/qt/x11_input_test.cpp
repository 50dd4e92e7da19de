// The real window on a real X server (run under xvfb-run), given clicks and keys with xdotool as a
// touchpad and a keyboard give them: taps during the shows, and a whole game by keyboard alone,
// the level set on the way.

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include "window_fixture.h"

using namespace quorbel;
using namespace quorbel::testing;

namespace {

// Runs xdotool to its end, so the X server has all its events when this returns.
bool xdotool(const QStringList& commands) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), commands);
    const bool done = process.waitForFinished(10000) &&
                      process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!done) {
        qWarning() << "xdotool" << commands << "failed:" << process.readAllStandardError();
    }
    return done;
}

// Moves the pointer onto a control.
QStringList pointAt(const WindowFixture& f, ControlRef ref) {
    const QWidget* control = f.find(ref);
    const QPoint at = control->mapTo(&f.window, control->rect().center());
    return {"mousemove", "--window", QString::number(f.window.winId()), QString::number(at.x()),
            QString::number(at.y())};
}

// Press and release at once, as a touchpad's tap gives them; then the pointer moves on at once.
const QStringList kTap = {"mousedown", "1", "mouseup", "1"};
const QStringList kAway = {"mousemove", "0", "0"};

QStringList tapOn(const WindowFixture& f, ControlRef ref) {
    return pointAt(f, ref) + kTap + kAway;
}

// Counts the presses of mouse buttons and keys that the X server delivers outside a show.
class PressesOutsideShows : public QObject {
  public:
    explicit PressesOutsideShows(WindowFixture& f) : f_(f) { qApp->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press =
            event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress;
        if (press && event->spontaneous() && watched->isWindowType() &&
            !f_.window.toolkit().pacer().running()) {
            ++count;
        }
        return false;
    }

  private:
    WindowFixture& f_;
};

}  // namespace

class X11InputTest : public QObject {
    Q_OBJECT

  private slots:
    void tapsDuringTheColumnShowTakeEffectOnceEach();
    void tapsDuringTheMenuShowAndTheBlinkTakeEffectOnce();
    void anArrowPressedBeforeAShowStepsOnce();
    void keysTypedAheadGoToTheFocusOfTheirTurn();
    void readingKeysAnswerDuringAShow();
    void aKeyboardOnlyGameReachesAFour();
    void cleanupTestCase();

  private:
    void prepare(WindowFixture& f);
    void tapDuringAShow(WindowFixture& f, const char* what, int taps, const QStringList& commands,
                        const std::function<bool()>& tookEffect);

    int tapsSent_ = 0;
    int tapsTakenOnce_ = 0;
};

// The window at a known place, and the keyboard's focus.
void X11InputTest::prepare(WindowFixture& f) {
    QVERIFY(f.ready);
    f.window.move(200, 150);
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
}

// Starts the show of the game's state at once, sends the commands while it holds its first frame
// (every press must reach the window during the show) and counts the taps as taken once when
// tookEffect holds once the window has handled them, and still a little later.
void X11InputTest::tapDuringAShow(WindowFixture& f, const char* what, int taps,
                                  const QStringList& commands,
                                  const std::function<bool()>& tookEffect) {
    PressesOutsideShows outside(f);
    bool sent = false;
    onShow(f, [&] {
        sent = xdotool(commands);
        QVERIFY(sent);
    });
    f.window.toolkit().setTimerInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(sent, 10000);
    // A lost tap times out here; one handled twice shows a little later.
    static_cast<void>(QTest::qWaitFor(tookEffect, 10000));
    QTest::qWait(300);
    QCOMPARE(outside.count, 0);
    const bool once = tookEffect();
    qInfo("%s: %s", what, once ? "taken once" : "LOST or doubled");
    tapsSent_ += taps;
    tapsTakenOnce_ += once ? taps : 0;
}

void X11InputTest::tapsDuringTheColumnShowTakeEffectOnceEach() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    prepare(f);
    f.clickMenu(0);
    QTRY_VERIFY(f.shown({Control::cmdFeld, 0}));
    const auto height = [&f](int column) { return f.rec().ColHeight[column]; };

    const auto tapColumn = [&](const char* what, int column, const QStringList& how, int times) {
        f.player.columns = {7, 6};
        const int movesBefore = f.rec().MoveNr;
        const int heightBefore = height(column);
        tapDuringAShow(f, what, times, pointAt(f, {Control::cmdFeld, column - 1}) + how + kAway,
                       [&] {
                           return f.rec().MoveNr == movesBefore + 2 * times &&
                                  height(column) == heightBefore + times;
                       });
    };
    tapColumn("tap on a column", 3, kTap, 1);
    tapColumn("xdotool's click on a column", 3, {"click", "1"}, 1);
    tapColumn("double click on a column", 5, kTap + kTap, 2);

    // Two columns in one show: both are played, in the order tapped.
    f.player.columns = {6, 4};
    const int moveOfFirst = f.rec().MoveNr;
    tapDuringAShow(f, "two columns in one show", 2,
                   tapOn(f, {Control::cmdFeld, 0}) + tapOn(f, {Control::cmdFeld, 1}), [&] {
                       return f.rec().MoveNr == moveOfFirst + 4 &&
                              columnOfCell(f.rec().MoveList[moveOfFirst]) == 1 &&
                              columnOfCell(f.rec().MoveList[moveOfFirst + 2]) == 2;
                   });

    // Space on the focused column button.
    f.player.columns = {4};
    f.find({Control::cmdFeld, 0})->setFocus();
    const int movesBeforeKey = f.rec().MoveNr;
    const int heightBeforeKey = height(1);
    tapDuringAShow(f, "Space on a focused column", 1, {"key", "space"}, [&] {
        return f.rec().MoveNr == movesBeforeKey + 2 && height(1) == heightBeforeKey + 1;
    });

    f.player.columns = {4};
    const int callsBefore = f.player.calls;
    const int movesBeforeCompZug = f.rec().MoveNr;
    tapDuringAShow(f, "tap on Comp- zug", 1, tapOn(f, {Control::cmdMenue, 3}), [&] {
        return f.player.calls == callsBefore + 1 && f.rec().MoveNr == movesBeforeCompZug + 1;
    });

    const int movesBeforeTakeBack = f.rec().MoveNr;
    tapDuringAShow(f, "tap on Zug zurück", 1, tapOn(f, {Control::cmdMenue, 2}),
                   [&] { return f.rec().MoveNr == movesBeforeTakeBack - 1; });
    QCOMPARE(f.rec().GameState, kGameRunning);
}

void X11InputTest::tapsDuringTheMenuShowAndTheBlinkTakeEffectOnce() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    prepare(f);
    f.click(Control::optComp);  // the computer begins: each start would play a stone
    f.player.columns = {7, 6, 6, 6, 6};
    tapDuringAShow(f, "tap on Start", 1, tapOn(f, {Control::cmdMenue, 0}), [&] {
        return f.player.calls == 1 && f.rec().MoveNr == 2 && f.rec().Board(7, 1) == kRed;
    });

    for (int column = 1; column <= 4; ++column) {
        f.clickColumn(column);
        QTRY_COMPARE(f.rec().Board(column, 1), kBlue);
    }
    QCOMPARE(f.rec().GameState, kGameWon);  // blue's four along the bottom row: the line blinks
    tapDuringAShow(f, "tap on Zug zurück during the blink", 1, tapOn(f, {Control::cmdMenue, 2}),
                   [&] {
                       return f.rec().GameState == kGameRunning && f.rec().MoveNr == 8 &&
                              f.rec().Board(4, 1) == kEmpty && f.rec().Board(6, 3) == kRed;
                   });
}

// A click of 0.2 s on the level's arrow, the show starting between press and release: one step.
// (The arrow repeats while it is really held, from 0.3 s on.)
void X11InputTest::anArrowPressedBeforeAShowStepsOnce() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    prepare(f);
    QToolButton& up = f.window.levelControl().upButton();
    const QPoint at = up.mapTo(&f.window, up.rect().center());
    QVERIFY(xdotool({"mousemove", "--window", QString::number(f.window.winId()),
                     QString::number(at.x()), QString::number(at.y()), "mousedown", "1"}));
    QTRY_VERIFY(up.isDown());
    bool released = false;
    onShow(f, [&] { released = xdotool({"sleep", "0.2", "mouseup", "1"}); });
    f.window.toolkit().setTimerInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(released, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!f.window.inbox().busy(), 10000);
    QTest::qWait(500);
    QCOMPARE(f.text(Control::lblStaerke), QString("2"));
}

// Keys typed during a show go to the focus of their turn: Space, Space on "Start" starts the game
// and plays the middle column. But a key typed while the winning move is made was aimed at the
// game: it does not press "Neues Spiel", which has the focus once the game is over.
void X11InputTest::keysTypedAheadGoToTheFocusOfTheirTurn() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    prepare(f);
    f.player.columns = {7, 7, 7};
    bool sent = false;
    onShow(f, [&] { sent = xdotool({"key", "--delay", "40", "space", "space"}); });
    f.window.toolkit().setTimerInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(sent, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().Board(4, 1), kRed, 10000);

    QVERIFY(xdotool({"key", "4"}));
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().MoveNr, 5, 10000);
    QVERIFY(xdotool({"key", "4"}));
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().MoveNr, 7, 10000);
    QVERIFY(xdotool({"key", "--delay", "40", "4", "space"}));  // the four, and a Space typed on
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().GameState, kGameWon, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!f.window.inbox().busy(), 10000);
    QTest::qWait(300);
    QCOMPARE(f.rec().GameState, kGameWon);
    QCOMPARE(focused(), QString("cmdMenü_1"));
}

// The reading keys change nothing, so they do not wait for the show to end.
void X11InputTest::readingKeysAnswerDuringAShow() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    prepare(f);
    bool answered = false;
    bool duringTheShow = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!answered && f.announced().startsWith("Kein Spiel")) {
            answered = true;
            duringTheShow = f.window.toolkit().pacer().running();
        }
    });
    watch.start(1);
    onShow(f, [&] { QVERIFY(xdotool({"key", "z"})); });
    f.window.toolkit().setTimerInterval(1);  // the menu buttons' show: 0.9 s
    QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
    QVERIFY(duringTheShow);
    QCOMPARE(f.announced(), QString("Kein Spiel. Mensch beginnt. Spielstufe 1."));
}

// Keys are sent whether a show runs or not; each step waits for what its keys did.
void X11InputTest::aKeyboardOnlyGameReachesAFour() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    prepare(f);
    const auto press = [](const QStringList& keys) {
        QVERIFY(xdotool(QStringList{"key", "--delay", "40"} + keys));
    };
    constexpr int kWait = 10000;

    QCOMPARE(focused(), QString("cmdMenü_0"));
    press({"shift+Tab", "shift+Tab", "shift+Tab"});
    QTRY_COMPARE_WITH_TIMEOUT(focused(), QString("updLevel"), kWait);
    press({"Up", "Up", "plus", "minus"});
    QTRY_COMPARE_WITH_TIMEOUT(f.text(Control::lblStaerke), QString("3"), kWait);
    press({"Tab", "Tab", "Tab"});
    QTRY_COMPARE_WITH_TIMEOUT(focused(), QString("cmdMenü_0"), kWait);

    f.player.columns = {7, 7, 7};
    press({"Return"});
    QTRY_COMPARE_WITH_TIMEOUT(focused(), QString("cmdFeld_3"), kWait);  // the middle column
    press({"Left", "Left", "Left", "space"});
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().Board(1, 1), kRed, kWait);
    press({"2"});
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().Board(2, 1), kRed, kWait);
    press({"Right", "Return"});
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().Board(3, 1), kRed, kWait);
    QCOMPARE(f.text(Control::lblStaerke), QString("3"));
    press({"Right", "space"});
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().GameState, kGameWon, kWait);
    QCOMPARE(f.rec().Board(4, 1), kRed);
    QTRY_COMPARE_WITH_TIMEOUT(f.text(Control::lblMessage), QString("Du hast gewonnen"), kWait);

    QTRY_COMPARE_WITH_TIMEOUT(focused(), QString("cmdMenü_1"), kWait);  // "Neues Spiel"
    press({"space"});
    QTRY_COMPARE_WITH_TIMEOUT(f.rec().GameState, kNoGame, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(focused(), QString("cmdMenü_0"), kWait);
    QCOMPARE(f.text(Control::lblStaerke), QString("1"));
}

void X11InputTest::cleanupTestCase() {
    qInfo("taps sent during shows: %d, taken exactly once: %d", tapsSent_, tapsTakenOnce_);
    QCOMPARE(tapsTakenOnce_, tapsSent_);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    X11InputTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "x11_input_test.moc"
