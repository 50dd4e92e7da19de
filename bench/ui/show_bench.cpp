// How long the window's shows block input, and how many frames each presents to the display. Each
// show runs to its end inside one event handler, paced so that its colours are seen, so its
// duration is the time the window takes no clicks. Runs on the real window; start it under an X
// server (xvfb-run) for the figures a desktop sees.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "flow/game.h"
#include "ui/qt/frm_quorbel.h"

using namespace quorbel;

namespace {

// Answers in the lowest open column, so that the positions below come about the same way with
// whatever computer player is built in.
class LowestColumnPlayer : public ComputerPlayer {
  public:
    void MakeCompMove(GameRecord& rec, int /*level*/, PlayerHost& /*host*/) override {
        for (int col = 1; col <= kColumns; ++col) {
            if (rec.WorkColHeight[col] < kRows) {
                rec.CurCol = col;
                rec.TryCompMove(col);
                if (!rec.CompWon) {
                    rec.TakeStone(col);
                }
                rec.HumanWon = false;
                return;
            }
        }
    }
};

// A shown window whose timer is off, so that only the show being measured paints. Its events go
// through the window's inbox, as the window's own do.
struct ShownWindow {
    ShownWindow() {
        stopTimer();
        window.show();
        QElapsedTimer waited;
        waited.start();
        while (!window.windowHandle()->isExposed() && waited.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        settle();
    }
    ~ShownWindow() { window.close(); }

    Game& game() { return window.game(); }
    // Both return once the window has handled what was posted: a tick left waiting from the set-up
    // would otherwise take the turn, and the show would run outside the measured time.
    void handle(Event event) {
        window.inbox().post(event);
        finishWaiting();
    }
    void run(const std::function<void()>& command) {
        window.inbox().post(command);
        finishWaiting();
    }
    void finishWaiting() {
        while (window.inbox().busy()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    // A move or a new game switches the timer on again.
    void stopTimer() { window.toolkit().setTimerEnabled(false); }
    // Lets the window handle what waits, and the last frame of a show its time on the screen, so
    // that the next show starts as it would after a pause.
    void settle() {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(kFrameHoldMs));
    }
    int frames() { return window.toolkit().pacer().framesPresented(); }

    LowestColumnPlayer computer;
    frmQuorbel window{computer};
};

// The repaints the logic makes per show and the frames presented to the display per show.
void setCounters(benchmark::State& state, ShownWindow& w, int framesBefore, int repaintsPerRun) {
    state.counters["repaints"] = repaintsPerRun;
    state.counters["frames"] =
        benchmark::Counter(w.frames() - framesBefore, benchmark::Counter::kAvgIterations);
}

// No game: six menu buttons, 250 random colours each (1506 repaints).
void menuButtonShow(benchmark::State& state) {
    ShownWindow w;
    const int framesBefore = w.frames();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.handle({Handler::Timer1_Timer});
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setCounters(state, w, framesBefore, 6 * 250 + 6);
}

// A game running: seven column buttons, 150 random colours each (1057 repaints).
void columnButtonShow(benchmark::State& state) {
    ShownWindow w;
    w.handle({Handler::cmdMenue_Click, 0});
    const int framesBefore = w.frames();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.handle({Handler::Timer1_Timer});
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setCounters(state, w, framesBefore, 7 * 150 + 7);
}

// A four in the bottom row: four cells, 20 times yellow and back (160 repaints).
void winningLineBlink(benchmark::State& state) {
    ShownWindow w;
    w.handle({Handler::cmdMenue_Click, 0});
    for (int index : {1, 2, 3, 4}) {  // the computer stacks column 1 meanwhile
        w.handle({Handler::cmdFeld_Click, index});
    }
    w.stopTimer();
    if (w.game().record().GameState != kGameWon || w.game().record().WinCells[0] != 4) {
        state.SkipWithError("the position did not end in a four");
        return;
    }
    const int framesBefore = w.frames();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.handle({Handler::Timer1_Timer});
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setCounters(state, w, framesBefore, 20 * 2 * 4);
}

// A message: its label in 50 random colours (50 repaints).
void messageFlash(benchmark::State& state) {
    ShownWindow w;
    const int framesBefore = w.frames();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.run([&w] { w.game().ShowMessage("Ich habe gewonnen !"); });
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setCounters(state, w, framesBefore, 50);
}

// One played stone: its column button and landing cell five times in random colours, then in
// the stone's colour (12 repaints).
void stoneFlicker(benchmark::State& state) {
    ShownWindow w;
    Game& game = w.game();
    w.handle({Handler::cmdMenue_Click, 0});
    int column = 0;
    const int framesBefore = w.frames();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        state.PauseTiming();
        column = column % kColumns + 1;
        if (game.record().ColHeight[column] == kRows) {
            w.handle({Handler::cmdMenue_Click, 1});  // a fresh board
            w.handle({Handler::cmdMenue_Click, 0});
            w.stopTimer();
        }
        game.record().CurCol = column;
        w.settle();
        state.ResumeTiming();
        w.run([&game] { game.ShowMove(); });
    }
    setCounters(state, w, framesBefore, 12);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    benchmark::Initialize(&argc, argv);
    // In the context block, so that --benchmark_format=json stays one JSON document.
    benchmark::AddCustomContext("platform", QGuiApplication::platformName().toStdString());

    const auto shows = {
        benchmark::RegisterBenchmark("menu-button show", menuButtonShow),
        benchmark::RegisterBenchmark("column-button show", columnButtonShow),
        benchmark::RegisterBenchmark("winning-line blink (4 cells)", winningLineBlink),
        benchmark::RegisterBenchmark("message flash (ShowMessage)", messageFlash),
        benchmark::RegisterBenchmark("stone flicker (ShowMove)", stoneFlicker),
    };
    for (auto* show : shows) {
        show->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
